// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace vantok
{

// One mounted file system as the system reports it. `rootPath` is in native form.
struct Volume {
    QString rootPath;
    QString name;
    QByteArray fileSystemType;
    bool ready = true;
};

// Where the drive and directory lists learn the mounts and the process's folders, so tests can
// give them a machine of their own.
class VolumeSource
{
public:
    virtual ~VolumeSource() = default;
    virtual QList<Volume> volumes() const = 0;
    virtual QString currentDirectory() const = 0;
    virtual QString homeDirectory() const = 0;
};

// This machine's mounts, current directory and home folder.
class SystemVolumes : public VolumeSource
{
public:
    QList<Volume> volumes() const override;
    QString currentDirectory() const override;
    QString homeDirectory() const override;
};

// The volumes a user recognises as drives, root first then by root path: on Windows the drive
// letters; elsewhere the root file system, the one holding the home folder, and removable or user
// mounts (under /media, /mnt, /run/media), never pseudo or system file systems.
QList<Volume> recognisableDrives(const QList<Volume> &volumes, const QString &homeDirectory);

// The root paths of `source`'s recognisable drives.
QStringList driveRoots(const VolumeSource &source);

// The root among `roots` that holds `path`, the longest one when mounts nest; empty when none.
QString driveHolding(const QStringList &roots, const QString &path);

// The form both lists report paths in: absolute, clean, native separators, and a trailing
// separator only at a root.
QString normalisedDirectory(const QString &path);

}  // namespace vantok
