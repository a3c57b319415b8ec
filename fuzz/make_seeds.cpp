// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the fuzz targets' seed inputs into <folder>/<target>/: texts the component and pattern
// boxes see, PCX files of every layout the reader knows, and a small picture in every format Qt
// writes here plus GIF, a two-image icon and BMP files in the layouts Qt does not write, which
// also seed the BMP reader alone.
// Usage: fuzz_seeds <folder>

#include "testsupport/picture_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageWriter>
#include <QRandomGenerator>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace vantok::test;

namespace
{

class SeedFolder
{
public:
    SeedFolder(const QString &root, const QString &target) : m_dir(root + u'/' + target)
    {
        QDir().mkpath(m_dir.path());
    }

    void add(const QString &name, const QByteArray &bytes)
    {
        if (!writeFile(m_dir.filePath(name), bytes))
            qFatal("cannot write %s", qPrintable(m_dir.filePath(name)));
    }
    // A text, read as UTF-8 by the targets (first byte even).
    void addText(const QString &name, const QString &text) { add(name, '\0' + text.toUtf8()); }

private:
    QDir m_dir;
};

void componentReadings(SeedFolder seeds)
{
    const QStringList texts{u"0"_s,         u"255"_s,    u"-1"_s,           u" 12.5 "_s,
                            u"+.5"_s,       u"2.5"_s,    u"1e5"_s,          u"FF"_s,
                            u"ffff"_s,      u"10000"_s,  u"7FFFFFFF"_s,     u"FFFFFFFF"_s,
                            u"100000000"_s, u"-32768"_s, u"32768"_s,        u"1G"_s,
                            u"."_s,         u"\t-0\t"_s, QString(400, u'9')};
    for (int i = 0; i < texts.size(); ++i)
        seeds.addText(u"text-%1"_s.arg(i), texts[i]);
    // Raw UTF-16 with an unpaired surrogate behind the digits.
    const char16_t raw[] = {u'1', u'2', 0xD800, u'3'};
    seeds.add(u"utf16-surrogate"_s,
              '\1' + QByteArray(reinterpret_cast<const char *>(raw), sizeof raw));
}

void wildcard(SeedFolder seeds)
{
    const QStringList texts{u"*.BMP;*.ICO\nPICTURE.bmp"_s,
                            u"*.BMP;*.PCX;*.ICO\nnotes.txt"_s,
                            u"?a*b*c\nxaYYbZZc"_s,
                            u" ; ;\nanything"_s,
                            u"[a]*.?\n[A]bc.d"_s,
                            u"**x*\nyyyyxyy"_s,
                            u"*\n"_s,
                            u"ÄÖ*\näöü"_s};
    for (int i = 0; i < texts.size(); ++i)
        seeds.addText(u"patterns-%1"_s.arg(i), texts[i]);
}

// A picture of `width` x `height` in the given layout, its bytes random but in short runs so
// that run-length encoding has runs to find.
QByteArray pcxPicture(int version, bool rle, int bitsPerPixel, int planes, int width, int height)
{
    PcxFile file{.version = version,
                 .rle = rle,
                 .bitsPerPixel = bitsPerPixel,
                 .planes = planes,
                 .width = width,
                 .height = height,
                 .bytesPerLine = ((width * bitsPerPixel + 7) / 8 + 1) & ~1};
    QRandomGenerator random(quint32(bitsPerPixel * 31 + planes));
    while (file.scanLines.size() < qsizetype(file.bytesPerLine) * planes * height)
        file.scanLines += QByteArray(1 + int(random.bounded(4)), char(random.bounded(256)));
    file.scanLines.truncate(qsizetype(file.bytesPerLine) * planes * height);
    if (bitsPerPixel == 8 && planes == 1)
        file.trailer = pcxPaletteTrailer();
    return file.bytes();
}

void pcx(SeedFolder seeds)
{
    struct Layout {
        int bitsPerPixel, planes;
    };
    for (const Layout layout :
         {Layout{1, 1}, Layout{1, 2}, Layout{1, 3}, Layout{1, 4}, Layout{2, 1}, Layout{4, 1},
          Layout{8, 1}, Layout{8, 3}, Layout{8, 4}}) {
        for (const bool rle : {true, false}) {
            seeds.add(u"layout-%1x%2%3.pcx"_s.arg(layout.bitsPerPixel)
                          .arg(layout.planes)
                          .arg(rle ? u"-rle" : u""),
                      pcxPicture(5, rle, layout.bitsPerPixel, layout.planes, 13, 5));
        }
    }
    seeds.add(u"version-3.pcx"_s, pcxPicture(3, true, 4, 1, 9, 4));
    seeds.add(u"version-0.pcx"_s, pcxPicture(0, true, 1, 1, 17, 3));
    seeds.add(u"true-colour.pcx"_s, pcxFile(patternPicture({11, 7})));
}

// Headers, depths and compressions of BMP beyond the 24-bit and 8-bit files Qt writes.
void bmpLayouts(SeedFolder &seeds)
{
    const auto bmp = [](int headerSize, QSize size, int bits, int compression,
                        const QList<quint32> &masks, const QByteArray &pixels) {
        BmpFile file;
        file.headerSize = headerSize;
        file.width = size.width();
        file.height = size.height();
        file.bitsPerPixel = bits;
        file.compression = compression;
        file.masks = masks;
        if (bits > 0 && bits <= 8)
            file.palette = {qRgb(10, 20, 30), qRgb(200, 100, 50), qRgb(0, 255, 128), qRgb(9, 9, 9)};
        file.pixels = pixels;
        return file.bytes();
    };
    seeds.add(
        u"rle8-delta.bmp"_s,
        bmp(40, {6, 4}, 8, 1, {}, bytesOf({3, 1, 0, 3, 1, 2, 3, 0, 0, 2, 2, 1, 2, 3, 0, 0, 0, 1})));
    seeds.add(u"rle4.bmp"_s,
              bmp(40, {7, 2}, 4, 2, {}, bytesOf({5, 0x12, 0, 0, 0, 5, 0x30, 0x21, 0x30, 0, 0, 1})));
    seeds.add(u"rgb565.bmp"_s, bmp(40, {3, 2}, 16, 3, {0xf800, 0x07e0, 0x001f},
                                   bmpRows({{0xffff, 0x0020, 0xf800}, {1, 2, 3}}, 16)));
    seeds.add(u"argb-v5-top-down.bmp"_s,
              bmp(124, {2, -2}, 32, 3, {0x3ff00000, 0x000ffc00, 0x3ff, 0xc0000000},
                  bmpRows({{0x80102030, 0xffffffff}, {0, 0x40000001}}, 32)));
    seeds.add(u"alphabitfields.bmp"_s, bmp(40, {2, 1}, 16, 6, {0x0f00, 0x00f0, 0x000f, 0xf000},
                                           bmpRows({{0x1234, 0xfedc}}, 16)));
    seeds.add(u"os2-core.bmp"_s, bmp(12, {3, 2}, 8, 0, {}, bmpRows({{0, 1, 2}, {3, 2, 1}}, 8)));
    seeds.add(u"os2-v2-2bit.bmp"_s, bmp(64, {5, 1}, 2, 0, {}, bmpRows({{0, 1, 2, 3, 1}}, 2)));
    seeds.add(u"embedded.bmp"_s,
              bmp(124, {12, 9}, 0, 5, {}, encoded(patternPicture({12, 9}), "png")));
}

void pictureLoader(SeedFolder seeds)
{
    const QImage picture = patternPicture({12, 9});
    for (const QByteArray &format : QImageWriter::supportedImageFormats())
        seeds.add(u"picture."_s + QString::fromLatin1(format), encoded(picture, format));
    QImage indexed(10, 6, QImage::Format_Indexed8);
    indexed.setColorCount(5);
    for (int i = 0; i < 5; ++i)
        indexed.setColor(i, qRgb(50 * i, 255 - 40 * i, 90 * i % 256));
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x)
            indexed.setPixel(x, y, (x + y) % 5);
    seeds.add(u"indexed.bmp"_s, encoded(indexed, "bmp"));
    seeds.add(u"picture.gif"_s, gifFile(indexed));
    seeds.add(u"two-images.ico"_s,
              iconFile({patternPicture({16, 16}), patternPicture({32, 32}, 5)}));
    seeds.add(u"picture.pcx"_s, pcxPicture(5, true, 8, 1, 12, 9));
    const QImage deep = picture.convertToFormat(QImage::Format_RGBX64);
    seeds.add(u"transparent-colour-16.png"_s,
              sixteenBitPngFile(deep, false, deep.pixelColor(3, 2).rgba64()));
    seeds.add(u"transparent-colour-16-interlaced.png"_s,
              sixteenBitPngFile(deep, true, deep.pixelColor(3, 2).rgba64()));
    bmpLayouts(seeds);
}

void bmp(SeedFolder seeds)
{
    bmpLayouts(seeds);
    seeds.add(u"picture.bmp"_s, encoded(patternPicture({12, 9}), "bmp"));
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    componentReadings({root, u"component_readings"_s});
    wildcard({root, u"wildcard"_s});
    pcx({root, u"pcx"_s});
    bmp({root, u"bmp"_s});
    pictureLoader({root, u"picture_loader"_s});
    return 0;
}
