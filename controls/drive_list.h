// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "system/volumes.h"

#include <QComboBox>

#include <memory>

namespace vantok
{

// The mounted file systems a user recognises, each shown by its root path and name. The current
// one at creation holds the process's current directory; its designation is its root path.
class DriveList : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveList(QWidget *parent = nullptr);
    explicit DriveList(std::unique_ptr<VolumeSource> source, QWidget *parent = nullptr);
    ~DriveList() override;

    // The current drive's designation: its root path in native form ("/", "/media/usb", "C:\").
    QString drive() const;
    // Makes `drive` current; false, with nothing changed, when it is not in the list.
    bool setDrive(const QString &drive);
    QStringList drives() const;

    // Reads the mounts again so a drive plugged in since shows up; keeps the current drive.
    void refresh();
    void showPopup() override;

signals:
    void changed();  // a change of drive, by the user or by code

private:
    std::unique_ptr<VolumeSource> m_source;
};

}  // namespace vantok
