// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/screen_layout.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantok;

class ScreenLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void cutsDesktopPicture_data();
    void cutsDesktopPicture();
    void placesLoupe_data();
    void placesLoupe();
};

void ScreenLayoutTest::cutsDesktopPicture_data()
{
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QList<QRect>>("parts");
    const QRect hd(0, 0, 1920, 1080);
    QTest::newRow("one screen at 1:1 is the whole picture") << QList{hd} << hd.size() << QList{hd};
    QTest::newRow("at scale 2 the picture holds device pixels")
        << QList{QRect(0, 0, 960, 540)} << hd.size() << QList{hd};
    QTest::newRow("at scale 1.5 too") << QList{QRect(0, 0, 1280, 720)} << hd.size() << QList{hd};
    QTest::newRow("two side by side at scale 2")
        << QList{QRect(0, 0, 960, 540), QRect(960, 0, 960, 540)} << QSize(3840, 1080)
        << QList{hd, QRect(1920, 0, 1920, 1080)};
    QTest::newRow("a screen left of the origin starts the picture")
        << QList{QRect(-1280, 0, 1280, 1024), hd} << QSize(3200, 1080)
        << QList{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
}

void ScreenLayoutTest::cutsDesktopPicture()
{
    QFETCH(QList<QRect>, screens);
    QFETCH(QSize, picture);
    QFETCH(QList<QRect>, parts);
    QList<ScreenPlace> places;
    QList<ScreenPart> expected;
    for (qsizetype i = 0; i < screens.size(); ++i) {
        places.append({u"screen %1"_s.arg(i), screens[i]});
        expected.append({u"screen %1"_s.arg(i), parts[i]});
    }
    QCOMPARE(partsOfDesktopPicture(places, picture), expected);
}

void ScreenLayoutTest::placesLoupe_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QRect>("place");
    const QSize loupe(100, 150);
    QTest::newRow("below and right in the open")
        << QPoint(300, 300) << QRect(QPoint(310, 310), loupe);
    QTest::newRow("left of the pointer at the right edge")
        << QPoint(950, 300) << QRect(QPoint(840, 310), loupe);
    QTest::newRow("above the pointer at the bottom edge")
        << QPoint(300, 700) << QRect(QPoint(310, 540), loupe);
    QTest::newRow("above and left in the bottom-right corner")
        << QPoint(1023, 767) << QRect(QPoint(913, 607), loupe);
    QTest::newRow("in the top-left corner, still below and right")
        << QPoint(0, 0) << QRect(QPoint(10, 10), loupe);
}

void ScreenLayoutTest::placesLoupe()
{
    QFETCH(QPoint, pointer);
    QFETCH(QRect, place);
    const QRect screen(0, 0, 1024, 768);
    const QRect placed = loupePlace(screen, pointer, place.size(), 10);
    QCOMPARE(placed, place);
    QVERIFY(screen.contains(placed));
    QVERIFY(!placed.contains(pointer));
}

QTEST_APPLESS_MAIN(ScreenLayoutTest)
#include "test_screen_layout.moc"
