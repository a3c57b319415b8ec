// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/chart_bitmap.h"
#include "core/sample_chart.h"

#include <QImage>
#include <QTest>
#include <QtEndian>

using vantok::SampleChart;

namespace
{

constexpr int PixelDataOffset = 54;
constexpr int RowSize = 648;

const SampleChart &chart()
{
    static const SampleChart generated = vantok::generateSampleChart();
    return generated;
}

const QByteArray &bitmap()
{
    static const QByteArray file = vantok::chartBitmap(chart());
    return file;
}

}  // namespace

class ChartBitmapTest : public QObject
{
    Q_OBJECT

private slots:
    void size();
    void headerFields_data();
    void headerFields();
    void rowsRunBottomUpInBlueGreenRed();
    void rowsArePaddedWithZeros();
    void imageReaderSeesTheChart();
};

void ChartBitmapTest::size()
{
    QCOMPARE(bitmap().size(), 116694);
}

void ChartBitmapTest::headerFields_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("width");
    QTest::addColumn<quint32>("value");
    QTest::newRow("type BM") << 0 << 2 << quint32('B' | 'M' << 8);
    QTest::newRow("file size") << 2 << 4 << 116694u;
    QTest::newRow("first reserved word") << 6 << 2 << 0u;
    QTest::newRow("second reserved word") << 8 << 2 << 0u;
    QTest::newRow("pixel data offset") << 10 << 4 << 54u;
    QTest::newRow("information header size") << 14 << 4 << 40u;
    QTest::newRow("width") << 18 << 4 << 215u;
    QTest::newRow("positive height: bottom row first") << 22 << 4 << 180u;
    QTest::newRow("one plane") << 26 << 2 << 1u;
    QTest::newRow("24 bits per pixel") << 28 << 2 << 24u;
    QTest::newRow("no compression") << 30 << 4 << 0u;
    QTest::newRow("image size") << 34 << 4 << 116640u;
    QTest::newRow("3790 pixels per metre across") << 38 << 4 << 3790u;
    QTest::newRow("3780 pixels per metre down") << 42 << 4 << 3780u;
    QTest::newRow("no colour table") << 46 << 4 << 0u;
    QTest::newRow("no important colours") << 50 << 4 << 0u;
}

void ChartBitmapTest::headerFields()
{
    QFETCH(int, offset);
    QFETCH(int, width);
    QFETCH(quint32, value);
    const char *at = bitmap().constData() + offset;
    const quint32 stored =
        width == 2 ? qFromLittleEndian<quint16>(at) : qFromLittleEndian<quint32>(at);
    QCOMPARE(stored, value);
}

void ChartBitmapTest::rowsRunBottomUpInBlueGreenRed()
{
    for (int y = 0; y < SampleChart::Height; ++y) {
        const auto *row = reinterpret_cast<const uchar *>(bitmap().constData()) + PixelDataOffset +
                          (SampleChart::Height - 1 - y) * RowSize;
        for (int x = 0; x < SampleChart::Width; ++x) {
            const quint32 pixel = chart().pixel(x, y);
            const quint32 stored =
                0xFF000000u | row[3 * x + 2] << 16 | row[3 * x + 1] << 8 | row[3 * x];
            if (stored != pixel)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
        }
    }
}

void ChartBitmapTest::rowsArePaddedWithZeros()
{
    for (int row = 0; row < SampleChart::Height; ++row)
        for (int pad = SampleChart::Width * 3; pad < RowSize; ++pad)
            QCOMPARE(bitmap().at(PixelDataOffset + row * RowSize + pad), '\0');
}

// An independent reader decodes the same pixels, so the header says what the rows hold.
void ChartBitmapTest::imageReaderSeesTheChart()
{
    const QImage image = QImage::fromData(bitmap(), "BMP");
    QCOMPARE(image.size(), QSize(SampleChart::Width, SampleChart::Height));
    QCOMPARE(image.dotsPerMeterX(), 3790);
    QCOMPARE(image.dotsPerMeterY(), 3780);
    for (int y = 0; y < SampleChart::Height; ++y)
        for (int x = 0; x < SampleChart::Width; ++x)
            if (image.pixel(x, y) != chart().pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
}

QTEST_GUILESS_MAIN(ChartBitmapTest)
#include "test_chart_bitmap.moc"
