// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/directory_list.h"
#include "controls/drive_list.h"
#include "fake_volumes.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using vantok::DirectoryList;
using vantok::DriveList;
using vantok::Volume;

namespace
{

// "root type" pairs, one per mount, as a table row can hold them.
QList<Volume> mounts(const QStringList &pairs)
{
    QList<Volume> volumes;
    for (const QString &pair : pairs) {
        const QStringList parts = pair.split(u' ');
        volumes.append({parts.at(0), {}, parts.at(1).toUtf8()});
    }
    return volumes;
}

std::unique_ptr<FakeVolumes> machine(const QStringList &pairs, const QString &current)
{
    auto fake = std::make_unique<FakeVolumes>();
    fake->mounted = mounts(pairs);
    fake->current = current;
    fake->home = u"/home/ann"_s;
    return fake;
}

}  // namespace

class DriveListTest : public QObject
{
    Q_OBJECT

private slots:
    void recognisesDrives_data();
    void recognisesDrives();
    void showsRootAndName();
    void startsOnDriveOfCurrentDirectory_data();
    void startsOnDriveOfCurrentDirectory();
    void raisesChangedForEveryNewDrive();
    void driveChangeMovesDirectoryListToRememberedDirectory();
};

void DriveListTest::recognisesDrives_data()
{
    QTest::addColumn<QStringList>("mounted");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QStringList>("drives");

    QTest::newRow("pseudo file systems are left out")
        << QStringList{u"/ ext4"_s,         u"/proc proc"_s,     u"/sys sysfs"_s,
                       u"/dev devtmpfs"_s,  u"/dev/shm tmpfs"_s, u"/sys/fs/cgroup cgroup2"_s,
                       u"/dev/pts devpts"_s}
        << u"/root"_s << QStringList{u"/"_s};
    QTest::newRow("system mounts are left out")
        << QStringList{u"/ ext4"_s, u"/boot ext4"_s, u"/boot/efi vfat"_s, u"/var btrfs"_s}
        << u"/root"_s << QStringList{u"/"_s};
    QTest::newRow("snaps are left out") << QStringList{u"/ ext4"_s, u"/snap/core/1 squashfs"_s}
                                        << u"/root"_s << QStringList{u"/"_s};
    QTest::newRow("pseudo file systems under user places are left out")
        << QStringList{u"/ ext4"_s, u"/media/ann/live squashfs"_s, u"/mnt/scratch tmpfs"_s}
        << u"/root"_s << QStringList{u"/"_s};
    QTest::newRow("removable and user mounts are kept")
        << QStringList{u"/run/media/ann/DISK exfat"_s, u"/ ext4"_s, u"/media/ann/STICK vfat"_s,
                       u"/mnt/data ext4"_s}
        << u"/root"_s
        << QStringList{u"/"_s, u"/media/ann/STICK"_s, u"/mnt/data"_s, u"/run/media/ann/DISK"_s};
    QTest::newRow("the home folder's file system is kept")
        << QStringList{u"/ ext4"_s, u"/home ext4"_s} << u"/home/ann"_s
        << QStringList{u"/"_s, u"/home"_s};
    QTest::newRow("home holder matched by whole folder names")
        << QStringList{u"/ ext4"_s, u"/home ext4"_s} << u"/homework/ann"_s << QStringList{u"/"_s};
    QTest::newRow("root on an overlay is still the root")
        << QStringList{u"/ overlay"_s, u"/proc proc"_s} << u"/root"_s << QStringList{u"/"_s};
    QTest::newRow("a mount seen twice is listed once")
        << QStringList{u"/ ext4"_s, u"/ ext4"_s, u"/mnt/a ext4"_s, u"/mnt/a ext4"_s} << u"/root"_s
        << QStringList{u"/"_s, u"/mnt/a"_s};
}

void DriveListTest::recognisesDrives()
{
    QFETCH(QStringList, mounted);
    QFETCH(QString, home);
    QFETCH(QStringList, drives);
    QStringList roots;
    for (const Volume &drive : vantok::recognisableDrives(mounts(mounted), home))
        roots.append(drive.rootPath);
    QCOMPARE(roots, drives);
}

void DriveListTest::showsRootAndName()
{
    auto fake = machine({u"/ ext4"_s}, u"/"_s);
    fake->mounted.append({u"/media/usb"_s, u"STICK"_s, "vfat"});
    const DriveList list(std::move(fake));
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.itemText(0), u"/"_s);
    QCOMPARE(list.itemText(1), u"/media/usb [STICK]"_s);
    QCOMPARE(list.drives(), (QStringList{u"/"_s, u"/media/usb"_s}));
}

void DriveListTest::startsOnDriveOfCurrentDirectory_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("drive");
    QTest::newRow("a folder on a mount") << u"/media/usb/pics"_s << u"/media/usb"_s;
    QTest::newRow("the mount point itself") << u"/media/usb"_s << u"/media/usb"_s;
    QTest::newRow("a longer name is another folder") << u"/media/usb2/pics"_s << u"/"_s;
    QTest::newRow("a folder on the root") << u"/home/ann"_s << u"/"_s;
    QTest::newRow("a folder on a left-out file system") << u"/tmp/x"_s << u"/"_s;
}

void DriveListTest::startsOnDriveOfCurrentDirectory()
{
    QFETCH(QString, current);
    QFETCH(QString, drive);
    const DriveList list(machine({u"/ ext4"_s, u"/media/usb vfat"_s, u"/tmp tmpfs"_s}, current));
    QCOMPARE(list.drive(), drive);
}

void DriveListTest::raisesChangedForEveryNewDrive()
{
    DriveList list(machine({u"/ ext4"_s, u"/media/usb vfat"_s, u"/mnt/b ext4"_s}, u"/"_s));
    QSignalSpy changed(&list, &DriveList::changed);
    QVERIFY(list.setDrive(u"/media/usb"_s));
    QCOMPARE(changed.count(), 1);
    QVERIFY(list.setDrive(u"/media/usb"_s));  // no change
    QCOMPARE(changed.count(), 1);
    QVERIFY(!list.setDrive(u"/media/none"_s));
    QCOMPARE(list.drive(), u"/media/usb"_s);
    list.setCurrentIndex(list.findData(u"/mnt/b"_s));  // as a choice in the list does
    QCOMPARE(changed.count(), 2);
    QCOMPARE(list.drive(), u"/mnt/b"_s);
}

// Two drives made of real folders: the root, and the one that holds the home folder.
void DriveListTest::driveChangeMovesDirectoryListToRememberedDirectory()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(u"home/work/sub"_s));
    const auto native = [&](const QString &relative) {
        return QDir::toNativeSeparators(QDir::cleanPath(dir.filePath(relative)));
    };
    const QString home = native(u"."_s);
    auto makeMachine = [&] {
        auto fake = machine({u"/ ext4"_s, home + u" ext4"_s}, native(u"home/work/sub"_s));
        fake->home = native(u"home"_s);
        return fake;
    };
    DriveList drives(makeMachine());
    DirectoryList directories(*makeMachine());
    connect(&drives, &DriveList::changed, &directories,
            [&] { directories.setPath(drives.drive()); });
    QCOMPARE(drives.drive(), home);
    QCOMPARE(directories.path(), native(u"home/work/sub"_s));

    QSignalSpy changed(&directories, &DirectoryList::changed);
    QVERIFY(drives.setDrive(u"/"_s));  // never visited: its root
    QCOMPARE(directories.path(), u"/"_s);
    QCOMPARE(changed.count(), 1);

    QVERIFY(drives.setDrive(home));  // back where the process started
    QCOMPARE(directories.path(), native(u"home/work/sub"_s));
    QVERIFY(directories.setPath(native(u"home/work"_s)));
    QVERIFY(drives.setDrive(u"/"_s));
    QVERIFY(drives.setDrive(home));  // back where the user left it
    QCOMPARE(directories.path(), native(u"home/work"_s));

    QVERIFY(drives.setDrive(u"/"_s));
    QVERIFY(QDir(native(u"home/work"_s)).removeRecursively());
    QVERIFY(drives.setDrive(home));  // a remembered folder that went away leaves the root
    QCOMPARE(directories.path(), home);
}

QTEST_MAIN(DriveListTest)
#include "test_drive_list.moc"
