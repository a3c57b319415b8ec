// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/volumes.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vantok
{

namespace
{

constexpr Qt::CaseSensitivity pathCase =
#ifdef Q_OS_WIN
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

// Whether `root` is `path` itself or one of its ancestors, whole names only ("/media/usb" holds
// "/media/usb/a", not "/media/usb2").
bool holds(const QString &root, const QString &path)
{
    const QString r = QDir::fromNativeSeparators(root);
    const QString p = QDir::fromNativeSeparators(path);
    if (!p.startsWith(r, pathCase))
        return false;
    return p.size() == r.size() || r.endsWith(u'/') || p.at(r.size()) == u'/';
}

#ifndef Q_OS_WIN
bool isPseudoFileSystem(const QByteArray &type)
{
    static const QList<QByteArray> pseudo{
        "proc",      "sysfs",      "tmpfs",           "devtmpfs",   "devpts",
        "overlay",   "squashfs",   "cgroup",          "cgroup2",    "mqueue",
        "debugfs",   "tracefs",    "securityfs",      "pstore",     "bpf",
        "autofs",    "fusectl",    "configfs",        "hugetlbfs",  "binfmt_misc",
        "efivarfs",  "nsfs",       "ramfs",           "rpc_pipefs", "nfsd",
        "selinuxfs", "fuse.lxcfs", "fuse.gvfsd-fuse", "fuse.portal"};
    return pseudo.contains(type);
}

bool isUserMount(const QString &root)
{
    static const QStringList places{u"/media/"_s, u"/mnt/"_s, u"/run/media/"_s};
    return std::any_of(places.begin(), places.end(),
                       [&](const QString &place) { return root.startsWith(place); });
}
#endif

}  // namespace

QList<Volume> SystemVolumes::volumes() const
{
    QList<Volume> result;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        result.append({QDir::toNativeSeparators(storage.rootPath()), storage.name(),
                       storage.fileSystemType(), storage.isReady()});
    }
    return result;
}

QString SystemVolumes::currentDirectory() const
{
    return QDir::currentPath();
}

QString SystemVolumes::homeDirectory() const
{
    return QDir::homePath();
}

QList<Volume> recognisableDrives(const QList<Volume> &volumes, const QString &homeDirectory)
{
    QList<Volume> drives;
    auto known = [&](const QString &root) {
        return std::any_of(drives.begin(), drives.end(), [&](const Volume &v) {
            return QString::compare(v.rootPath, root, pathCase) == 0;
        });
    };
#ifdef Q_OS_WIN
    Q_UNUSED(homeDirectory);
    for (const Volume &volume : volumes) {
        const QString root = QDir::fromNativeSeparators(volume.rootPath);
        const bool driveLetter = root.size() == 3 && root.at(0).isLetter() && root.endsWith(u":/");
        if (driveLetter && !known(volume.rootPath))
            drives.append(volume);
    }
#else
    QStringList roots;
    for (const Volume &volume : volumes)
        roots.append(volume.rootPath);
    const QString home = driveHolding(roots, homeDirectory);
    for (const Volume &volume : volumes) {
        const bool wanted =
            volume.rootPath == u"/" || volume.rootPath == home ||
            (isUserMount(volume.rootPath) && !isPseudoFileSystem(volume.fileSystemType));
        if (wanted && !known(volume.rootPath))
            drives.append(volume);
    }
#endif
    std::sort(drives.begin(), drives.end(), [](const Volume &a, const Volume &b) {
        return QString::compare(a.rootPath, b.rootPath, pathCase) < 0;
    });
    return drives;
}

QStringList driveRoots(const VolumeSource &source)
{
    QStringList roots;
    for (const Volume &drive : recognisableDrives(source.volumes(), source.homeDirectory()))
        roots.append(drive.rootPath);
    return roots;
}

QString driveHolding(const QStringList &roots, const QString &path)
{
    QString best;
    for (const QString &root : roots) {
        if (root.size() > best.size() && holds(root, path))
            best = root;
    }
    return best;
}

QString normalisedDirectory(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
}

}  // namespace vantok
