// SPDX-License-Identifier: GPL-3.0-or-later
// Build step: writes a text drawing of an icon image as a PNG of the given size, scaled up
// pixel for pixel so the small drawing stays crisp.
#include "tools/icon_source.h"

#include <QFile>
#include <QImage>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QTextStream err(stderr);
    bool sizeRead = false;
    const int size = argc == 4 ? QByteArray(argv[2]).toInt(&sizeRead) : 0;
    if (!sizeRead || size <= 0) {
        err << "usage: make_icon_png <image.txt> <size> <output.png>\n";
        return 2;
    }
    QString error;
    const auto source = vantok::IconSource::read(QFile::decodeName(argv[1]), &error);
    if (!source) {
        err << "make_icon_png: " << error << '\n';
        return 1;
    }
    QImage image(source->width(), source->height(), QImage::Format_ARGB32);
    for (int y = 0; y < source->height(); ++y)
        for (int x = 0; x < source->width(); ++x)
            image.setPixel(x, y,
                           source->isTransparent(x, y)
                               ? 0u
                               : 0xFF000000u | vantok::IconPalette.at(source->index(x, y)));
    const QString output = QFile::decodeName(argv[3]);
    if (!image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
             .save(output, "PNG")) {
        err << "make_icon_png: cannot write " << output << '\n';
        return 1;
    }
    return 0;
}
