// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ico_file.h"

#include <QtEndian>

namespace vantok
{

namespace
{

constexpr int DirectorySize = 6;
constexpr int EntrySize = 16;
constexpr int InfoHeaderSize = 40;
constexpr int PaletteSize = 16 * 4;

constexpr int paddedRow(int bits)
{
    return (bits + 31) / 32 * 4;
}

int colourRowSize(const IconSource &image)
{
    return paddedRow(image.width() * 4);
}

int maskRowSize(const IconSource &image)
{
    return paddedRow(image.width());
}

int imageSize(const IconSource &image)
{
    return InfoHeaderSize + PaletteSize +
           (colourRowSize(image) + maskRowSize(image)) * image.height();
}

void putU16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void putU32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void putImage(QByteArray &out, const IconSource &image)
{
    putU32(out, InfoHeaderSize);
    putU32(out, image.width());
    putU32(out, 2 * image.height());  // the colours and the mask one above the other
    putU16(out, 1);
    putU16(out, 4);
    putU32(out, 0);  // no compression
    putU32(out, (colourRowSize(image) + maskRowSize(image)) * image.height());
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0);  // all 16 colours
    putU32(out, 0);

    for (const quint32 rgb : IconPalette) {
        out.append(char(rgb & 0xFF));
        out.append(char(rgb >> 8 & 0xFF));
        out.append(char(rgb >> 16 & 0xFF));
        out.append('\0');
    }

    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row(colourRowSize(image), '\0');
        for (int x = 0; x < image.width(); ++x) {
            const int index = image.isTransparent(x, y) ? 0 : image.index(x, y);
            row[x / 2] = char(row[x / 2] | index << (x % 2 == 0 ? 4 : 0));
        }
        out.append(row);
    }
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row(maskRowSize(image), '\0');
        for (int x = 0; x < image.width(); ++x)
            if (image.isTransparent(x, y))
                row[x / 8] = char(row[x / 8] | 0x80 >> (x % 8));
        out.append(row);
    }
}

}  // namespace

QByteArray icoFile(const QList<IconSource> &images)
{
    QByteArray out;
    putU16(out, 0);
    putU16(out, 1);  // icon, not cursor
    putU16(out, quint16(images.size()));
    int offset = DirectorySize + EntrySize * int(images.size());
    for (const IconSource &image : images) {
        out.append(char(image.width() % 256));  // 256 is written as 0
        out.append(char(image.height() % 256));
        out.append(char(16));  // colours in the palette
        out.append('\0');
        putU16(out, 1);
        putU16(out, 4);
        putU32(out, imageSize(image));
        putU32(out, offset);
        offset += imageSize(image);
    }
    for (const IconSource &image : images)
        putImage(out, image);
    return out;
}

}  // namespace vantok
