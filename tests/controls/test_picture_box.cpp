// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/loupe.h"
#include "controls/picture_box.h"

#include <QPainter>
#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;
using vantok::PictureBox;

namespace
{

const QColor Back(192, 192, 192);

// Every alpha level down the rows, every value across, each channel its own ramp.
QImage everyAlphaAndValue(QImage::Format format)
{
    QImage picture(256, 256, QImage::Format_ARGB32);
    for (int alpha = 0; alpha < 256; ++alpha)
        for (int value = 0; value < 256; ++value)
            picture.setPixel(value, alpha, qRgba(value, 255 - value, value * 7 % 256, alpha));
    return picture.convertToFormat(format);
}

QImage drawnOverBack(const QImage &picture)
{
    QImage shown(picture.size(), QImage::Format_RGB32);
    shown.fill(Back);
    QPainter(&shown).drawImage(0, 0, picture);
    return shown;
}

}  // namespace

// The box's size, scroll bars and description as the picture, the window's room and the zoom
// and mark keys leave them, and the pixels it shows. Where the pixels land and what a press picks
// is the end-to-end test's.
class PictureBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void showsPictureOverBackColour_data();
    void showsPictureOverBackColour();
    void loupeTellsWhatHeldPixelStores();
};

void PictureBoxTest::geometry_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("panAndZoom");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("horizontalBar");
    QTest::addColumn<bool>("verticalBar");
    QTest::addColumn<QString>("description");

    const QString hint = u"Press a point to take its colour"_s;
    // The window leaves the box 251 x 283 pixels; its border takes 2 on every side, a bar 14.
    QTest::newRow("a picture that fits takes its size plus the border")
        << QSize(100, 80) << true << QString() << QSize(104, 84) << false << false << hint;
    QTest::newRow("a picture that just fits the room shows no bars")
        << QSize(247, 279) << true << QString() << QSize(251, 283) << false << false << hint;
    QTest::newRow("a pixel too wide takes the room, with both bars")
        << QSize(248, 279) << true << QString() << QSize(251, 283) << true << true
        << hint + u". Zoom 100%; pixels 0 to 232 across and 0 to 264 down of 248 by 279 in view"_s;
    QTest::newRow("zoomed in, a small picture grows the box")
        << QSize(60, 40) << true << u"Ctrl++"_s << QSize(124, 98) << false << false
        << hint + u". Zoom 200%; pixels 0 to 59 across and 0 to 39 down of 60 by 40 in view"_s;
    // Each step keeps the middle of the view, which grows with the box, where it was.
    QTest::newRow("zoomed in beyond the room, the bars come back")
        << QSize(60, 40) << true << u"Ctrl++, Ctrl++, Ctrl++, Ctrl++, Ctrl++"_s << QSize(251, 283)
        << true << true
        << hint + u". Zoom 800%; pixels 15 to 44 across and 5 to 38 down of 60 by 40 in view"_s;
    QTest::newRow("Ctrl+0 goes back to the natural size")
        << QSize(60, 40) << true << u"Ctrl++, Ctrl++, Ctrl+0"_s << QSize(64, 44) << false << false
        << hint;
    QTest::newRow("Ctrl+- does not shrink a picture that fits")
        << QSize(60, 40) << true << u"Ctrl+-"_s << QSize(64, 44) << false << false << hint;
    QTest::newRow("zoomed out, the whole picture fits without bars")
        << QSize(1000, 1000) << true << u"Ctrl+-, Ctrl+-, Ctrl+-, Ctrl+-, Ctrl+-, Ctrl+-"_s
        << QSize(251, 265) << false << false
        << hint + u". Zoom 25%; pixels 2 to 997 across and 2 to 997 down of 1000 by 1000 in view"_s;
    QTest::newRow("Shift+arrows and Page keys move the mark from the centre, on the picture")
        << QSize(60, 40) << true << u"Shift+Right, Shift+PgDown, Shift+PgDown"_s << QSize(64, 44)
        << false << false << hint + u". Mark on pixel 31, 39: red 0, green 128, blue 128"_s;
    QTest::newRow("without pan and zoom a large picture overflows and keys change nothing")
        << QSize(300, 300) << false << u"Ctrl++, End"_s << QSize(304, 304) << false << false
        << hint;
}

void PictureBoxTest::geometry()
{
    QFETCH(QSize, picture);
    QFETCH(bool, panAndZoom);
    QFETCH(QString, keys);
    QFETCH(QSize, size);
    QFETCH(bool, horizontalBar);
    QFETCH(bool, verticalBar);
    QFETCH(QString, description);

    QWidget window;
    window.resize(307, 283);
    auto *box = new PictureBox(&window);
    box->setGeometry(56, 0, 250, 281);
    if (panAndZoom)
        box->enablePanAndZoom();
    QImage shown(picture, QImage::Format_RGB32);
    shown.fill(Qt::darkCyan);
    box->setPicture(shown);
    for (const QString &key : keys.split(u", "_s, Qt::SkipEmptyParts))
        QTest::keySequence(box, QKeySequence(key));

    QCOMPARE(box->size(), size);
    bool shows[2] = {false, false};
    for (const QScrollBar *bar : box->findChildren<QScrollBar *>())
        shows[bar->orientation() == Qt::Vertical] = bar->isVisibleTo(box);
    QCOMPARE(shows[0], horizontalBar);
    QCOMPARE(shows[1], verticalBar);
    QCOMPARE(box->accessibleDescription(), description);
}

void PictureBoxTest::showsPictureOverBackColour_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<bool>("keptElsewhere");
    QTest::addColumn<bool>("inPlace");  // the box holds the very pixels handed over

    const QImage argb = everyAlphaAndValue(QImage::Format_ARGB32);
    QTest::newRow("32-bit with alpha, handed over: held where it lies") << argb << false << true;
    QTest::newRow("premultiplied, handed over: held where it lies")
        << everyAlphaAndValue(QImage::Format_ARGB32_Premultiplied) << false << true;
    QTest::newRow("32-bit with alpha held elsewhere too: shared, the holder's copy untouched")
        << argb << true << true;
    QTest::newRow("16-bit with alpha: into a new picture")
        << everyAlphaAndValue(QImage::Format_RGBA64) << false << false;
}

// Pixels with alpha are held as stored and read as QPainter draws them over the back colour.
void PictureBoxTest::showsPictureOverBackColour()
{
    QFETCH(QImage, picture);
    QFETCH(bool, keptElsewhere);
    QFETCH(bool, inPlace);
    // Held at 8 bits a sample, as the box shows them.
    const QImage expected = drawnOverBack(picture.convertToFormat(QImage::Format_ARGB32));
    QImage handed = picture.copy();
    const QImage kept = keptElsewhere ? handed : QImage();
    const uchar *pixels = handed.constBits();

    PictureBox box;
    box.setBackColor(Back);
    box.setPicture(std::move(handed));

    QCOMPARE(box.shownPicture().format(), QImage::Format_ARGB32);
    QCOMPARE(box.shownPicture(), picture.convertToFormat(QImage::Format_ARGB32));
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb drawn = expected.pixel(x, y);
            QCOMPARE(box.pixel({x, y}),
                     vantok::composeColour(qRed(drawn), qGreen(drawn), qBlue(drawn)));
        }
    }
    QCOMPARE(box.shownPicture().constBits() == pixels, inPlace);
    if (keptElsewhere)
        QCOMPARE(kept, picture);
}

// While a button is held, the loupe tells the pixel's place, its colour as drawn and what it
// stores; letting go hides it.
void PictureBoxTest::loupeTellsWhatHeldPixelStores()
{
    QWidget window;
    window.resize(400, 300);
    auto *box = new PictureBox(&window);
    box->move(56, 0);
    box->enablePanAndZoom();
    QImage picture(4, 4, QImage::Format_ARGB32);
    picture.fill(qRgba(170, 0, 50, 36));
    picture.setPixel(2, 1, qRgb(10, 200, 30));
    box->setPicture(picture);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QPoint inner = box->contentsRect().topLeft();
    QTest::mousePress(box, Qt::LeftButton, {}, inner + QPoint(1, 1));
    auto *loupe = box->findChild<vantok::Loupe *>();
    QVERIFY(loupe);
    QTRY_VERIFY(loupe->isVisible());  // once the button stays down
    QCOMPARE(loupe->accessibleDescription(),
             u"1, 1; #BDA5AC; 189, 165, 172; stored 170, 0, 50; alpha 36"_s);
    QTest::mouseRelease(box, Qt::LeftButton, {}, inner + QPoint(1, 1));
    QVERIFY(!loupe->isVisible());
}

QTEST_MAIN(PictureBoxTest)
#include "test_picture_box.moc"
