// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/icon_source.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;
using vantok::IconSource;

namespace
{

// The standard 16 colours in palette order, as blue, green, red, 0 in the file.
constexpr quint32 StandardColours[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

IconSource source(const QString &name)
{
    QString error;
    const auto read = IconSource::read(QDir(VANTOK_ICON_SOURCE_DIR).filePath(name), &error);
    if (!read)
        qFatal("%s", qPrintable(error));
    return *read;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int u16At(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

int u32At(const QByteArray &bytes, int offset)
{
    return int(qFromLittleEndian<quint32>(bytes.constData() + offset));
}

quint32 expectedPixel(const IconSource &drawing, int x, int y)
{
    return drawing.isTransparent(x, y) ? 0u : 0xFF000000u | StandardColours[drawing.index(x, y)];
}

}  // namespace

class IconsTest : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void imagesHoldTheDrawings_data();
    void imagesHoldTheDrawings();
    void qtReadsTheDrawingsBack_data();
    void qtReadsTheDrawingsBack();
    void desktopIcons_data();
    void desktopIcons();
};

void IconsTest::layout_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<int>("fileSize");
    QTest::addColumn<QList<int>>("sides");
    QTest::addColumn<QList<int>>("imageSizes");
    QTest::newRow("window icon: 32 and 16 in 1,078 bytes")
        << u":/icons/vantok.ico"_s << 1078 << QList<int>{32, 16} << QList<int>{744, 296};
    QTest::newRow("chooser icon: 32 in 766 bytes")
        << u":/icons/chooser.ico"_s << 766 << QList<int>{32} << QList<int>{744};
}

void IconsTest::layout()
{
    QFETCH(QString, resource);
    QFETCH(int, fileSize);
    QFETCH(QList<int>, sides);
    QFETCH(QList<int>, imageSizes);
    const QByteArray ico = contents(resource);
    QCOMPARE(ico.size(), fileSize);
    QCOMPARE(u16At(ico, 0), 0);
    QCOMPARE(u16At(ico, 2), 1);
    QCOMPARE(u16At(ico, 4), sides.size());
    int offset = 6 + 16 * int(sides.size());
    for (int i = 0; i < sides.size(); ++i) {
        const int entry = 6 + 16 * i;
        QCOMPARE(int(quint8(ico.at(entry))), sides[i]);
        QCOMPARE(int(quint8(ico.at(entry + 1))), sides[i]);
        QCOMPARE(int(quint8(ico.at(entry + 2))), 16);
        QCOMPARE(u16At(ico, entry + 6), 4);
        QCOMPARE(u32At(ico, entry + 8), imageSizes[i]);
        QCOMPARE(u32At(ico, entry + 12), offset);

        QCOMPARE(u32At(ico, offset), 40);
        QCOMPARE(u32At(ico, offset + 4), sides[i]);
        QCOMPARE(u32At(ico, offset + 8), 2 * sides[i]);  // colours above the mask
        QCOMPARE(u16At(ico, offset + 12), 1);
        QCOMPARE(u16At(ico, offset + 14), 4);
        QCOMPARE(u32At(ico, offset + 16), 0);
        for (int c = 0; c < 16; ++c) {
            const int at = offset + 40 + 4 * c;
            const quint32 bgr0 = quint32(u32At(ico, at));
            QCOMPARE(bgr0, StandardColours[c]);
        }
        offset += imageSizes[i];
    }
    QCOMPARE(offset, fileSize);
}

void IconsTest::imagesHoldTheDrawings_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<int>("image");
    QTest::addColumn<QString>("drawing");
    QTest::newRow("window icon, 32") << u":/icons/vantok.ico"_s << 0 << u"vantok-32.txt"_s;
    QTest::newRow("window icon, 16") << u":/icons/vantok.ico"_s << 1 << u"vantok-16.txt"_s;
    QTest::newRow("chooser icon, 32") << u":/icons/chooser.ico"_s << 0 << u"chooser-32.txt"_s;
}

// Decodes the 4-bit colours and the mask by hand: masked pixels must hold index 0.
void IconsTest::imagesHoldTheDrawings()
{
    QFETCH(QString, resource);
    QFETCH(int, image);
    QFETCH(QString, drawing);
    const QByteArray ico = contents(resource);
    const IconSource expected = source(drawing);
    const int side = expected.width();
    const int offset = u32At(ico, 6 + 16 * image + 12);
    const int colourRow = (side * 4 + 31) / 32 * 4;
    const int maskRow = (side + 31) / 32 * 4;
    const int colours = offset + 40 + 64;
    const int mask = colours + colourRow * side;
    int transparent = 0;
    for (int y = 0; y < side; ++y) {
        const int fileRow = side - 1 - y;  // bottom up
        for (int x = 0; x < side; ++x) {
            const quint8 pair = quint8(ico.at(colours + fileRow * colourRow + x / 2));
            const int index = x % 2 == 0 ? pair >> 4 : pair & 0x0F;
            const bool masked = quint8(ico.at(mask + fileRow * maskRow + x / 8)) & (0x80 >> x % 8);
            QCOMPARE(masked, expected.isTransparent(x, y));
            QCOMPARE(index, masked ? 0 : expected.index(x, y));
            transparent += masked;
        }
    }
    QVERIFY(transparent > 0 && transparent < side * side);
}

void IconsTest::qtReadsTheDrawingsBack_data()
{
    imagesHoldTheDrawings_data();
}

void IconsTest::qtReadsTheDrawingsBack()
{
    QFETCH(QString, resource);
    QFETCH(int, image);
    QFETCH(QString, drawing);
    QImageReader reader(resource, "ico");
    QVERIFY(reader.jumpToImage(image));
    const QImage read = reader.read().convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!read.isNull(), qPrintable(reader.errorString()));
    const IconSource expected = source(drawing);
    QCOMPARE(read.size(), QSize(expected.width(), expected.height()));
    for (int y = 0; y < read.height(); ++y)
        for (int x = 0; x < read.width(); ++x) {
            const quint32 pixel = read.pixel(x, y);
            QCOMPARE(qAlpha(pixel) == 0 ? 0u : pixel, expectedPixel(expected, x, y));
        }
}

void IconsTest::desktopIcons_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("drawing");
    QTest::newRow("16 from its own drawing") << 16 << u"vantok-16.txt"_s;
    QTest::newRow("32 as drawn") << 32 << u"vantok-32.txt"_s;
    QTest::newRow("64 doubles each pixel") << 64 << u"vantok-32.txt"_s;
    QTest::newRow("128 repeats each pixel four times") << 128 << u"vantok-32.txt"_s;
}

void IconsTest::desktopIcons()
{
#ifndef VANTOK_ICON_PNG_DIR
    QSKIP("desktop icons are made for Linux only");
#else
    QFETCH(int, size);
    QFETCH(QString, drawing);
    const QString path = QStringLiteral(VANTOK_ICON_PNG_DIR "/%1x%1/apps/%2.png")
                             .arg(size)
                             .arg(QStringLiteral(VANTOK_APP_ID));
    const QImage png = QImage(path).convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!png.isNull(), qPrintable(path));
    QCOMPARE(png.size(), QSize(size, size));
    const IconSource expected = source(drawing);
    const int scale = size / expected.width();
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const quint32 pixel = png.pixel(x, y);
            QCOMPARE(qAlpha(pixel) == 0 ? 0u : pixel,
                     expectedPixel(expected, x / scale, y / scale));
        }
#endif
}

QTEST_GUILESS_MAIN(IconsTest)
#include "test_icons.moc"
