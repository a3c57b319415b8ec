// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/picture_box.h"

#include <QPainter>
#include <QTest>

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

class PictureBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void showsPictureOverBackColour_data();
    void showsPictureOverBackColour();
};

void PictureBoxTest::showsPictureOverBackColour_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<bool>("keptElsewhere");
    QTest::addColumn<bool>("inPlace");  // the box shows the very pixels handed over

    const QImage argb = everyAlphaAndValue(QImage::Format_ARGB32);
    QTest::newRow("32-bit with alpha, handed over: composited where it lies")
        << argb << false << true;
    QTest::newRow("premultiplied, handed over: composited where it lies")
        << everyAlphaAndValue(QImage::Format_ARGB32_Premultiplied) << false << true;
    QTest::newRow("32-bit with alpha held elsewhere too: the holder's copy untouched")
        << argb << true << false;
    QTest::newRow("16-bit with alpha: composited into a new picture")
        << everyAlphaAndValue(QImage::Format_RGBA64) << false << false;
}

void PictureBoxTest::showsPictureOverBackColour()
{
    QFETCH(QImage, picture);
    QFETCH(bool, keptElsewhere);
    QFETCH(bool, inPlace);
    const QImage expected = drawnOverBack(picture);
    QImage handed = picture.copy();
    const QImage kept = keptElsewhere ? handed : QImage();
    const uchar *pixels = handed.constBits();

    PictureBox box;
    box.setBackColor(Back);
    box.setPicture(std::move(handed));

    QCOMPARE(box.shownPicture().format(), QImage::Format_RGB32);
    QCOMPARE(box.shownPicture(), expected);
    QCOMPARE(box.shownPicture().constBits() == pixels, inPlace);
    if (keptElsewhere)
        QCOMPARE(kept, picture);
}

QTEST_MAIN(PictureBoxTest)
#include "test_picture_box.moc"
