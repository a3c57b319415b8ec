// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/clipboard_dib.h"
#include "pictures/picture_loader.h"
#include "testsupport/picture_files.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;
using vantok::test::BmpFile;
using vantok::test::bmpRows;

class ClipboardDibTest : public QObject
{
    Q_OBJECT

private slots:
    void makesTheFileTheDibCameFrom_data();
    void makesTheFileTheDibCameFrom();
    void refusesWhatCannotBeAFile_data();
    void refusesWhatCannotBeAFile();
    void loadsAsThePicture();
};

// A DIB is a BMP file without its first 14 bytes; where its pixels start follows from the header.
void ClipboardDibTest::makesTheFileTheDibCameFrom_data()
{
    QTest::addColumn<QByteArray>("file");

    BmpFile rgb;
    rgb.width = 3;
    rgb.pixels = bmpRows({{0x102030, 0x405060, 0x708090}}, 24);
    QTest::newRow("24 bits, no palette") << rgb.bytes();

    BmpFile indexed;
    indexed.bitsPerPixel = 8;
    indexed.palette = {qRgb(1, 2, 3), qRgb(4, 5, 6), qRgb(7, 8, 9)};
    indexed.pixels = bmpRows({{2}}, 8);
    QTest::newRow("8 bits, palette as long as declared") << indexed.bytes();

    BmpFile full = indexed;
    full.bitsPerPixel = 4;
    full.palette = QList<QRgb>(16, qRgb(9, 9, 9));
    full.coloursUsed = 0;
    full.pixels = bmpRows({{15}}, 4);
    QTest::newRow("4 bits, no length: the whole palette") << full.bytes();

    BmpFile masked;
    masked.bitsPerPixel = 16;
    masked.compression = 3;
    masked.masks = {0xf800, 0x07e0, 0x001f};
    masked.pixels = bmpRows({{0xffff}}, 16);
    QTest::newRow("bit fields after a 40-byte header") << masked.bytes();

    BmpFile alpha = masked;
    alpha.bitsPerPixel = 32;
    alpha.compression = 6;
    alpha.masks = {0xff0000, 0xff00, 0xff, 0xff000000};
    alpha.pixels = bmpRows({{0x80ff0000}}, 32);
    QTest::newRow("alpha bit fields after a 40-byte header") << alpha.bytes();

    BmpFile v5 = alpha;
    v5.headerSize = 124;
    v5.compression = 3;
    QTest::newRow("bit fields inside a 124-byte header") << v5.bytes();

    BmpFile core;
    core.headerSize = 12;
    core.bitsPerPixel = 1;
    core.palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    core.pixels = bmpRows({{1}}, 1);
    QTest::newRow("12-byte header, 3-byte palette entries") << core.bytes();
}

void ClipboardDibTest::makesTheFileTheDibCameFrom()
{
    QFETCH(QByteArray, file);
    QCOMPARE(vantok::bmpFileFromDib(file.mid(14)), file);
}

void ClipboardDibTest::refusesWhatCannotBeAFile_data()
{
    QTest::addColumn<QByteArray>("dib");
    BmpFile declaredPalette;
    declaredPalette.bitsPerPixel = 8;
    declaredPalette.coloursUsed = 200;  // and none there
    BmpFile longHeader;
    longHeader.headerSize = 124;
    QTest::newRow("nothing") << QByteArray();
    QTest::newRow("shorter than any header") << QByteArray(11, '\0');
    QTest::newRow("a header size no header has") << BmpFile{.headerSize = 13}.bytes().mid(14);
    QTest::newRow("palette past the end") << declaredPalette.bytes().mid(14);
    QTest::newRow("header past the end") << longHeader.bytes().mid(14, 60);
}

void ClipboardDibTest::refusesWhatCannotBeAFile()
{
    QFETCH(QByteArray, dib);
    QVERIFY(vantok::bmpFileFromDib(dib).isEmpty());
}

// As the clipboard holds one from a 32-bit screen: the picture comes out pixel for pixel.
void ClipboardDibTest::loadsAsThePicture()
{
    BmpFile screen;
    screen.width = 2;
    screen.height = 2;
    screen.bitsPerPixel = 32;
    screen.pixels = bmpRows({{0x341205, 0x07c863}, {0x0000ff, 0xffffff}}, 32);
    QByteArray file = vantok::bmpFileFromDib(screen.bytes().mid(14));
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    const QImage picture = vantok::loadPicture(buffer);
    QCOMPARE(picture.size(), QSize(2, 2));
    QCOMPARE(picture.pixel(0, 1), qRgb(52, 18, 5));  // bottom row first
    QCOMPARE(picture.pixel(1, 1), qRgb(7, 200, 99));
    QCOMPARE(picture.pixel(0, 0), qRgb(0, 0, 255));
}

QTEST_GUILESS_MAIN(ClipboardDibTest)
#include "test_clipboard_dib.moc"
