// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "system/folder_reading.h"

#include <QObject>
#include <QThreadPool>

#include <memory>

namespace vantok
{

// Reads a folder's entries of one kind on a thread of its own, so a folder of any size leaves
// the window answering, and reports the names as they come: every report holds all names read so
// far, sorted. Reports that would pile up while the window is busy are folded into the latest.
class FolderReader : public QObject
{
    Q_OBJECT

public:
    explicit FolderReader(EntryKind kind, QObject *parent = nullptr);
    // Stops a reading under way and waits for its thread.
    ~FolderReader() override;

    // Starts reading `directory` anew; what a reading under way would still report is dropped.
    void read(const QString &directory);
    bool isReading() const { return m_reading != nullptr; }

signals:
    // `complete` is set on the last report of a reading.
    void namesRead(const std::shared_ptr<const SortedNames> &names, bool complete);

private:
    struct Reading;
    void collect(const std::shared_ptr<Reading> &reading);
    void stop();

    const EntryKind m_kind;
    std::shared_ptr<Reading> m_reading;
    QThreadPool m_thread;
};

}  // namespace vantok
