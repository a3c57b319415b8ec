// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a BMP, a PCX, a PNG and a 16-bit PNG with a transparent colour of different pattern
// pictures into a folder, each with a PNG copy of how it shows to compare the screen against.
// Prints one line per picture: its file name, its copy's name, its width and height, and its
// pixel at PickX,PickY as shown, "r,g,b"; for the 16-bit PNG then a second point, "x,y", where
// the transparent colour is, and how it shows.
// Usage: make_test_pictures <folder>

#include "testsupport/picture_files.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace vantok::test;

namespace
{

constexpr QPoint PickAt(5, 3);
constexpr QPoint TransparentAt(2, 7);
constexpr QRgb BackColour = qRgb(192, 192, 192);  // the picture box's

// A pattern picture at 16 bits, transparent where it holds the colour at TransparentAt; at PickAt
// a colour that differs from that only in a low byte, and shows like it.
struct KeyedPicture {
    QImage stored;
    QRgba64 key;
};

KeyedPicture keyedPicture()
{
    KeyedPicture keyed{patternPicture({19, 13}, 44).convertToFormat(QImage::Format_RGBX64), {}};
    keyed.key = keyed.stored.pixelColor(TransparentAt).rgba64();
    QRgba64 nearKey = keyed.key;
    nearKey.setBlue(keyed.key.blue() ^ 1);
    keyed.stored.setPixelColor(PickAt, QColor::fromRgba64(nearKey));
    return keyed;
}

// How the picture box shows it: the key's pixels in its back colour.
QImage shown(const KeyedPicture &keyed)
{
    QImage shown = keyed.stored.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (keyed.stored.pixelColor(x, y).rgba64() == keyed.key)
                shown.setPixel(x, y, BackColour);
    return shown;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_test_pictures <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    struct Written {
        QString name;
        QImage picture;  // as it shows
        QByteArray bytes;
        bool pickTransparent = false;
    };
    const QImage bmp = patternPicture({23, 17}, 11);
    const QImage pcx = patternPicture({31, 12}, 22);
    const QImage png = patternPicture({18, 25}, 33);
    const KeyedPicture keyed = keyedPicture();
    const Written pictures[]{
        {u"shot.bmp"_s, bmp, encoded(bmp, "bmp")},
        {u"shot.pcx"_s, pcx, pcxFile(pcx)},
        {u"shot.png"_s, png, encoded(png, "png")},
        {u"deep.png"_s, shown(keyed), sixteenBitPngFile(keyed.stored, true, keyed.key), true}};
    for (const Written &written : pictures) {
        const QString copy = written.name + u".copy.png"_s;
        if (!writeFile(folder.filePath(written.name), written.bytes) ||
            !writeFile(folder.filePath(copy), encoded(written.picture, "png")))
            return 1;
        const QRgb pixel = written.picture.pixel(PickAt);
        std::printf("%s %s %d %d %d,%d,%d", qPrintable(written.name), qPrintable(copy),
                    written.picture.width(), written.picture.height(), qRed(pixel), qGreen(pixel),
                    qBlue(pixel));
        if (written.pickTransparent)
            std::printf(" %d,%d %d,%d,%d", TransparentAt.x(), TransparentAt.y(), qRed(BackColour),
                        qGreen(BackColour), qBlue(BackColour));
        std::printf("\n");
    }
    return 0;
}
