// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a picture whose every pixel tells its place, so a pick shows which pixel it read: red is
// the column's low byte, green the row's low byte, blue the column's and the row's next four bits.
// Neighbours differ in red or green. Places up to 4095 are told apart.
// Usage: make_coordinate_picture <width> <height> <file.ppm>

#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_coordinate_picture <width> <height> <file.ppm>\n");
        return 2;
    }
    QImage picture(std::atoi(argv[1]), std::atoi(argv[2]), QImage::Format_RGB32);
    if (picture.isNull())
        return 1;
    for (int y = 0; y < picture.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            row[x] = qRgb(x & 0xff, y & 0xff, ((x >> 8) & 0xf) | (((y >> 8) & 0xf) << 4));
    }
    return picture.save(QString::fromLocal8Bit(argv[3]), "ppm") ? 0 : 1;
}
