// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/path_join.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;
using vantok::joinPath;

class PathJoinTest : public QObject
{
    Q_OBJECT

private slots:
    void joins_data();
    void joins();
    void nativeSeparatorIsUsed();
};

void PathJoinTest::joins_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("joined");

    const QChar back(u'\\');
    const QChar slash(u'/');
    QTest::newRow("Windows folder gets a separator")
        << u"C:\\PICS"_s << u"SKY.BMP"_s << back << u"C:\\PICS\\SKY.BMP"_s;
    QTest::newRow("Windows drive root gets no second one")
        << u"C:\\"_s << u"SKY.BMP"_s << back << u"C:\\SKY.BMP"_s;
    QTest::newRow("Windows nested folder")
        << u"D:\\A\\B"_s << u"x.ico"_s << back << u"D:\\A\\B\\x.ico"_s;
    QTest::newRow("POSIX folder gets a separator")
        << u"/home/ann/pics"_s << u"sky.bmp"_s << slash << u"/home/ann/pics/sky.bmp"_s;
    QTest::newRow("POSIX root gets no second one")
        << u"/"_s << u"sky.bmp"_s << slash << u"/sky.bmp"_s;
    QTest::newRow("mount point is an ordinary folder")
        << u"/media/usb"_s << u"sky.bmp"_s << slash << u"/media/usb/sky.bmp"_s;
    QTest::newRow("only the given separator counts as one")
        << u"C:/"_s << u"SKY.BMP"_s << back << u"C:/\\SKY.BMP"_s;
    QTest::newRow("names with blanks are kept whole")
        << u"/my pics"_s << u"blue sky.bmp"_s << slash << u"/my pics/blue sky.bmp"_s;
}

void PathJoinTest::joins()
{
    QFETCH(QString, directory);
    QFETCH(QString, fileName);
    QFETCH(QChar, separator);
    QFETCH(QString, joined);
    QCOMPARE(joinPath(directory, fileName, separator), joined);
}

void PathJoinTest::nativeSeparatorIsUsed()
{
    const QString root = QDir::toNativeSeparators(QDir::rootPath());
    const QString folder = QDir::toNativeSeparators(QDir::rootPath() + u"pics"_s);
    QCOMPARE(joinPath(root, u"a.bmp"), root + u"a.bmp"_s);
    QCOMPARE(joinPath(folder, u"a.bmp"), folder + QDir::separator() + u"a.bmp"_s);
}

QTEST_GUILESS_MAIN(PathJoinTest)
#include "test_path_join.moc"
