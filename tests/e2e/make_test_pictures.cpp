// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a BMP, a PCX and a PNG of different pattern pictures into a folder, each with a PNG copy
// to compare the screen against. Prints one line per picture: its file name, its copy's name,
// its width and height, and its stored pixel at PickX,PickY as "r,g,b".
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
        QImage picture;
        QByteArray bytes;
    };
    const QImage bmp = patternPicture({23, 17}, 11);
    const QImage pcx = patternPicture({31, 12}, 22);
    const QImage png = patternPicture({18, 25}, 33);
    const Written pictures[]{{u"shot.bmp"_s, bmp, encoded(bmp, "bmp")},
                             {u"shot.pcx"_s, pcx, pcxFile(pcx)},
                             {u"shot.png"_s, png, encoded(png, "png")}};
    for (const Written &written : pictures) {
        const QString copy = written.name + u".copy.png"_s;
        if (!writeFile(folder.filePath(written.name), written.bytes) ||
            !writeFile(folder.filePath(copy), encoded(written.picture, "png")))
            return 1;
        const QRgb pixel = written.picture.pixel(PickAt);
        std::printf("%s %s %d %d %d,%d,%d\n", qPrintable(written.name), qPrintable(copy),
                    written.picture.width(), written.picture.height(), qRed(pixel), qGreen(pixel),
                    qBlue(pixel));
    }
    return 0;
}
