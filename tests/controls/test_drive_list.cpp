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

// The same machine on both systems, named as each names its drives: the root or first drive, a
// removable one, a second disk and one that is not there.
#ifdef Q_OS_WIN
const QString Root = u"C:\\"_s;
const QString Usb = u"E:\\"_s;
const QString Disk = u"F:\\"_s;
const QString Missing = u"G:\\"_s;
#else
const QString Root = u"/"_s;
const QString Usb = u"/media/usb"_s;
const QString Disk = u"/mnt/b"_s;
const QString Missing = u"/media/none"_s;
#endif

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

#ifdef Q_OS_WIN
    QTest::newRow("drive letters in order")
        << QStringList{u"Z:\\ unix"_s, u"C:\\ NTFS"_s, u"D:\\ CDFS"_s} << u"C:\\Users\\ann"_s
        << QStringList{u"C:\\"_s, u"D:\\"_s, u"Z:\\"_s};
    QTest::newRow("folders mounted inside a drive are left out")
        << QStringList{u"C:\\ NTFS"_s, u"C:\\mnt\\disk NTFS"_s} << u"C:\\Users\\ann"_s
        << QStringList{u"C:\\"_s};
    QTest::newRow("shares and volumes without a letter are left out")
        << QStringList{u"C:\\ NTFS"_s, u"\\\\server\\share\\ NTFS"_s,
                       u"\\\\?\\Volume{1234}\\ NTFS"_s}
        << u"C:\\Users\\ann"_s << QStringList{u"C:\\"_s};
    QTest::newRow("a drive seen twice is listed once, whatever its case")
        << QStringList{u"C:\\ NTFS"_s, u"c:\\ NTFS"_s} << u"C:\\Users\\ann"_s
        << QStringList{u"C:\\"_s};
#else
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
#endif
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
    auto fake = machine({Root + u" ext4"_s}, Root);
    fake->mounted.append({Usb, u"STICK"_s, "vfat"});
    const DriveList list(std::move(fake));
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.itemText(0), Root);
    QCOMPARE(list.itemText(1), Usb + u" [STICK]"_s);
    QCOMPARE(list.drives(), (QStringList{Root, Usb}));
}

void DriveListTest::startsOnDriveOfCurrentDirectory_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("drive");
#ifdef Q_OS_WIN
    QTest::newRow("a folder on a drive") << u"E:\\pics"_s << Usb;
    QTest::newRow("the drive's root") << Usb << Usb;
    QTest::newRow("a lower-case letter") << u"e:\\pics"_s << Usb;
    QTest::newRow("a folder on the first drive") << u"C:\\Users\\ann"_s << Root;
#else
    QTest::newRow("a folder on a mount") << u"/media/usb/pics"_s << u"/media/usb"_s;
    QTest::newRow("the mount point itself") << u"/media/usb"_s << u"/media/usb"_s;
    QTest::newRow("a longer name is another folder") << u"/media/usb2/pics"_s << u"/"_s;
    QTest::newRow("a folder on the root") << u"/home/ann"_s << u"/"_s;
    QTest::newRow("a folder on a left-out file system") << u"/tmp/x"_s << u"/"_s;
#endif
}

void DriveListTest::startsOnDriveOfCurrentDirectory()
{
    QFETCH(QString, current);
    QFETCH(QString, drive);
    const DriveList list(machine({Root + u" ext4"_s, Usb + u" vfat"_s, u"/tmp tmpfs"_s}, current));
    QCOMPARE(list.drive(), drive);
}

void DriveListTest::raisesChangedForEveryNewDrive()
{
    DriveList list(machine({Root + u" ext4"_s, Usb + u" vfat"_s, Disk + u" ext4"_s}, Root));
    QSignalSpy changed(&list, &DriveList::changed);
    QVERIFY(list.setDrive(Usb));
    QCOMPARE(changed.count(), 1);
    QVERIFY(list.setDrive(Usb));  // no change
    QCOMPARE(changed.count(), 1);
    QVERIFY(!list.setDrive(Missing));
    QCOMPARE(list.drive(), Usb);
    list.setCurrentIndex(list.findData(Disk));  // as a choice in the list does
    QCOMPARE(changed.count(), 2);
    QCOMPARE(list.drive(), Disk);
}

// Two drives made of real folders: the root, and the one that holds the home folder.
void DriveListTest::driveChangeMovesDirectoryListToRememberedDirectory()
{
#ifdef Q_OS_WIN
    QSKIP("Drives are letters here: a temporary folder cannot be made one");
#endif
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
