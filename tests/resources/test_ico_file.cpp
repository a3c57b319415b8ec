// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ico_file.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTest>
#include <QtEndian>

using vantok::IconSource;

namespace
{

IconSource drawing(const char *text)
{
    return *IconSource::parse(text);
}

quint32 u32At(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

}  // namespace

class IcoFileTest : public QObject
{
    Q_OBJECT

private slots:
    void rowsArePaddedToFourBytes_data();
    void rowsArePaddedToFourBytes();
    void bitsRunBottomUpLeftPixelHigh();
};

// A 4-bit row of w pixels takes ceil(w / 8) * 4 bytes, a mask row ceil(w / 32) * 4.
void IcoFileTest::rowsArePaddedToFourBytes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("imageSize");
    QTest::newRow("1 x 1 pads both rows to 4 bytes") << QByteArray("5") << 40 + 64 + 4 + 4;
    QTest::newRow("9 x 2 needs two words of colour")
        << QByteArray("123456789\n.........") << 40 + 64 + 2 * (8 + 4);
    QTest::newRow("16 x 16") << QByteArray(16, '.').append('\n').repeated(16)
                             << 40 + 64 + 16 * (8 + 4);
    QTest::newRow("33 x 1 needs two mask words") << QByteArray(33, '7') << 40 + 64 + (20 + 8);
}

void IcoFileTest::rowsArePaddedToFourBytes()
{
    QFETCH(QByteArray, text);
    QFETCH(int, imageSize);
    const QByteArray ico = vantok::icoFile({drawing(text)});
    QCOMPARE(ico.size(), 6 + 16 + imageSize);
    QCOMPARE(u32At(ico, 6 + 8), quint32(imageSize));
    QCOMPARE(u32At(ico, 6 + 12), 22u);
    QCOMPARE(u32At(ico, 22 + 20), quint32(imageSize - 40 - 64));  // colours and mask
}

void IcoFileTest::bitsRunBottomUpLeftPixelHigh()
{
    // Top row: maroon, transparent; bottom row: white, red.
    const QByteArray ico = vantok::icoFile({drawing("1.\nF9\n")});
    const int bits = 22 + 40 + 64;
    QCOMPARE(quint8(ico.at(bits)), quint8(0xF9));      // bottom row first
    QCOMPARE(quint8(ico.at(bits + 4)), quint8(0x10));  // masked pixel holds index 0
    QCOMPARE(quint8(ico.at(bits + 8)), quint8(0x00));
    QCOMPARE(quint8(ico.at(bits + 12)), quint8(0x40));  // second pixel of the top row

    QBuffer buffer;
    buffer.setData(ico);
    QImageReader reader(&buffer, "ico");
    const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.pixel(0, 0), 0xFF800000u);
    QCOMPARE(qAlpha(image.pixel(1, 0)), 0);
    QCOMPARE(image.pixel(0, 1), 0xFFFFFFFFu);
    QCOMPARE(image.pixel(1, 1), 0xFFFF0000u);
}

QTEST_GUILESS_MAIN(IcoFileTest)
#include "test_ico_file.moc"
