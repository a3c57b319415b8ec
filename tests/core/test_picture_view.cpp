// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/picture_view.h"

#include <QTest>

using vantok::PictureView;

class PictureViewTest : public QObject
{
    Q_OBJECT

private slots:
    void zoomSteps_data();
    void zoomSteps();
    void cellOfDevicePixel_data();
    void cellOfDevicePixel();
    void panReachesBothEnds_data();
    void panReachesBothEnds();
    void zoomKeepsTheAnchoredPixel_data();
    void zoomKeepsTheAnchoredPixel();
    void devicePixelsOfCell_data();
    void devicePixelsOfCell();
};

namespace
{

PictureView viewOf(QSize picture, QSize view, qreal ratio, qreal zoom = 1)
{
    PictureView result;
    result.setPictureSize(picture);
    result.setRatio(ratio);
    result.setViewSize(view);
    result.setZoom(zoom, {});
    return result;
}

}  // namespace

void PictureViewTest::zoomSteps_data()
{
    QTest::addColumn<qreal>("zoom");
    QTest::addColumn<bool>("in");
    QTest::addColumn<qreal>("least");
    QTest::addColumn<qreal>("next");

    QTest::newRow("in from 1:1 doubles") << 1.0 << true << 1.0 << 2.0;
    QTest::newRow("in from 2 takes the whole factor 3") << 2.0 << true << 1.0 << 3.0;
    QTest::newRow("in from 6 goes to 8") << 6.0 << true << 1.0 << 8.0;
    QTest::newRow("in from 48 goes to 64") << 48.0 << true << 1.0 << 64.0;
    QTest::newRow("in stops at 64") << 64.0 << true << 1.0 << 64.0;
    QTest::newRow("in from a fit between steps takes the next step")
        << 0.3 << true << 0.3 << 1.0 / 3;
    QTest::newRow("in from one pixel per device pixel at ratio 1.5 goes to 1:1")
        << 2.0 / 3 << true << 0.01 << 1.0;
    QTest::newRow("out from one pixel per device pixel at ratio 1.5 goes to 1/2")
        << 2.0 / 3 << false << 0.01 << 0.5;
    QTest::newRow("out from 1:1 halves") << 1.0 << false << 0.01 << 0.5;
    QTest::newRow("out from 1/2 takes 1/3") << 0.5 << false << 0.01 << 1.0 / 3;
    QTest::newRow("out from 3 goes to 2") << 3.0 << false << 0.01 << 2.0;
    QTest::newRow("out stops where the picture fits") << 0.25 << false << 0.2 << 0.2;
    QTest::newRow("out from the fit stays there") << 0.2 << false << 0.2 << 0.2;
    QTest::newRow("out from 1:1 with a picture that fits stays") << 1.0 << false << 1.0 << 1.0;
}

void PictureViewTest::zoomSteps()
{
    QFETCH(qreal, zoom);
    QFETCH(bool, in);
    QFETCH(qreal, least);
    QFETCH(qreal, next);
    const qreal stepped = in ? PictureView::zoomedIn(zoom) : PictureView::zoomedOut(zoom, least);
    QCOMPARE(stepped, next);
}

void PictureViewTest::cellOfDevicePixel_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<qreal>("zoom");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QPoint>("device");
    QTest::addColumn<QPoint>("cell");

    QTest::newRow("1:1 at ratio 1 is the identity")
        << 1.0 << 1.0 << QPoint() << QPoint(7, 3) << QPoint(7, 3);
    QTest::newRow("ratio 2 shows each pixel twice")
        << 2.0 << 1.0 << QPoint() << QPoint(3, 4) << QPoint(1, 2);
    QTest::newRow("ratio 1.25: a pixel's centre decides")
        << 1.25 << 1.0 << QPoint() << QPoint(1, 4) << QPoint(1, 3);
    QTest::newRow("8x at ratio 2 is 16 device pixels a cell")
        << 2.0 << 8.0 << QPoint() << QPoint(15, 16) << QPoint(0, 1);
    QTest::newRow("the offset moves into the magnified picture")
        << 1.0 << 8.0 << QPoint(80, 8) << QPoint(7, 0) << QPoint(10, 1);
    QTest::newRow("zoomed out, the pixel under the centre, not an average")
        << 1.0 << 1.0 / 3 << QPoint() << QPoint(0, 1) << QPoint(1, 4);
    QTest::newRow("zoomed out at ratio 2")
        << 2.0 << 0.25 << QPoint(1, 0) << QPoint(0, 3) << QPoint(3, 7);
}

void PictureViewTest::cellOfDevicePixel()
{
    QFETCH(qreal, ratio);
    QFETCH(qreal, zoom);
    QFETCH(QPoint, offset);
    QFETCH(QPoint, device);
    QFETCH(QPoint, cell);
    PictureView view = viewOf({4000, 3000}, {100, 100}, ratio, zoom);
    view.setOffset(offset);
    QCOMPARE(view.offset(), offset);
    QCOMPARE(view.cellOfDevicePixel(device), cell);
}

// How far the view pans, and which pixels show at its first and last device pixels at either end:
// 1:1 and zoomed in, the picture's first and last; zoomed out, the pixels under those device
// pixels' centres. A picture that fits does not pan.
void PictureViewTest::panReachesBothEnds_data()
{
    QTest::addColumn<int>("pictureWidth");
    QTest::addColumn<int>("viewWidth");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<qreal>("zoom");
    QTest::addColumn<int>("maxOffset");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");

    QTest::newRow("1:1 at ratio 1") << 4000 << 247 << 1.0 << 1.0 << 3753 << 0 << 3999;
    QTest::newRow("1:1 at ratio 2") << 4000 << 494 << 2.0 << 1.0 << 7506 << 0 << 3999;
    QTest::newRow("1:1 at ratio 1.25") << 4000 << 308 << 1.25 << 1.0 << 4692 << 0 << 3999;
    QTest::newRow("8x at ratio 1.5") << 300 << 400 << 1.5 << 8.0 << 3200 << 0 << 299;
    QTest::newRow("1/12 at ratio 1.75") << 4000 << 300 << 1.75 << 1.0 / 12 << 283 << 3 << 3994;
    QTest::newRow("a picture that fits stays put") << 200 << 247 << 1.0 << 1.0 << 0 << 0 << 199;
    QTest::newRow("a picture fitted exactly stays put")
        << 4000 << 247 << 1.0 << 247.0 / 4000 << 0 << 8 << 3991;
}

void PictureViewTest::panReachesBothEnds()
{
    QFETCH(int, pictureWidth);
    QFETCH(int, viewWidth);
    QFETCH(qreal, ratio);
    QFETCH(qreal, zoom);
    QFETCH(int, maxOffset);
    QFETCH(int, first);
    QFETCH(int, last);
    PictureView view = viewOf({pictureWidth, 10}, {viewWidth, 10}, ratio, zoom);
    view.setOffset({-5, 0});
    QCOMPARE(view.offset().x(), 0);
    QCOMPARE(view.cellOfDevicePixel({0, 0}).x(), first);
    view.setOffset({1 << 30, 0});
    QCOMPARE(view.offset().x(), maxOffset);
    const int lastDevice = std::min(viewWidth, view.contentSize().width()) - 1;
    QCOMPARE(view.cellOfDevicePixel({lastDevice, 0}).x(), last);
}

// Down to 1:1 the pixel under the anchor stays under it; below, a device pixel shows one of many.
void PictureViewTest::zoomKeepsTheAnchoredPixel_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<qreal>("from");
    QTest::addColumn<qreal>("to");
    QTest::addColumn<QPoint>("anchor");

    QTest::newRow("in around the centre") << 1.0 << 1.0 << 2.0 << QPoint(100, 100);
    QTest::newRow("in around a point near the corner") << 1.0 << 3.0 << 4.0 << QPoint(13, 190);
    QTest::newRow("in at ratio 2") << 2.0 << 6.0 << 8.0 << QPoint(201, 77);
    QTest::newRow("out around the pointer") << 1.0 << 8.0 << 6.0 << QPoint(150, 20);
    QTest::newRow("in to 1:1 at ratio 1.5") << 1.5 << 0.5 << 1.0 << QPoint(61, 60);
}

void PictureViewTest::zoomKeepsTheAnchoredPixel()
{
    QFETCH(qreal, ratio);
    QFETCH(qreal, from);
    QFETCH(qreal, to);
    QFETCH(QPoint, anchor);
    PictureView view = viewOf({4000, 3000}, {200, 200}, ratio, from);
    view.setOffset({1000, 700});
    const QPoint before = view.cellOfDevicePixel(anchor);
    view.setZoom(to, anchor);
    QCOMPARE(view.zoom(), to);
    QCOMPARE(view.cellOfDevicePixel(anchor), before);
}

// Where the pick mark's outline goes: the device pixels whose centres fall on the cell, or zoomed
// out where none does, the one the cell lies in.
void PictureViewTest::devicePixelsOfCell_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<qreal>("zoom");
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<QRect>("device");

    QTest::newRow("1:1 at ratio 1.5 takes one and two device pixels in turn")
        << 1.5 << 1.0 << QPoint(0, 1) << QRect(0, 1, 1, 2);
    QTest::newRow("2/3 at ratio 1.5 is one device pixel each")
        << 1.5 << 2.0 / 3 << QPoint(5, 6) << QRect(5, 6, 1, 1);
    QTest::newRow("8x at ratio 2 is 16 by 16 device pixels")
        << 2.0 << 8.0 << QPoint(3, 1) << QRect(48, 16, 16, 16);
    QTest::newRow("zoomed out, a pixel not drawn gets the device pixel it lies in")
        << 1.0 << 0.25 << QPoint(3, 2) << QRect(0, 0, 1, 1);
}

void PictureViewTest::devicePixelsOfCell()
{
    QFETCH(qreal, ratio);
    QFETCH(qreal, zoom);
    QFETCH(QPoint, cell);
    QFETCH(QRect, device);
    PictureView view = viewOf({4000, 3000}, {100, 100}, ratio, zoom);
    view.setOffset({});
    QCOMPARE(view.devicePixelsOf(cell), device);
}

QTEST_APPLESS_MAIN(PictureViewTest)
#include "test_picture_view.moc"
