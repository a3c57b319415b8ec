// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/pcx/pcx_header.h"

namespace vantok::pcx
{

namespace
{

constexpr uchar Maker = 0x0A;
constexpr qsizetype HeaderPaletteOffset = 16;

// Version 3 files were written without a palette; their pictures use the standard 16 colours.
constexpr std::array<QRgb, 16> StandardColours{
    0xff000000, 0xff0000aa, 0xff00aa00, 0xff00aaaa, 0xffaa0000, 0xffaa00aa, 0xffaa5500, 0xffaaaaaa,
    0xff555555, 0xff5555ff, 0xff55ff55, 0xff55ffff, 0xffff5555, 0xffff55ff, 0xffffff55, 0xffffffff,
};

int byteAt(QByteArrayView bytes, qsizetype offset)
{
    return uchar(bytes[offset]);
}

int wordAt(QByteArrayView bytes, qsizetype offset)
{
    return byteAt(bytes, offset) | byteAt(bytes, offset + 1) << 8;
}

bool isKnownLayout(int bitsPerPixel, int planes)
{
    switch (bitsPerPixel) {
    case 1:
        return planes >= 1 && planes <= 4;
    case 2:
    case 4:
        return planes == 1;
    case 8:
        return planes == 1 || planes == 3 || planes == 4;
    default:
        return false;
    }
}

Palette paletteFrom(QByteArrayView bytes, int version, int bitsPerPixel, int planes)
{
    Palette palette{};
    if (bitsPerPixel == 1 && planes == 1) {
        palette[0] = qRgb(0, 0, 0);
        palette[1] = qRgb(255, 255, 255);
    } else if (version == 3) {
        std::copy(StandardColours.begin(), StandardColours.end(), palette.begin());
    } else {
        for (qsizetype i = 0; i < 16; ++i) {
            const qsizetype at = HeaderPaletteOffset + 3 * i;
            palette[i] = qRgb(byteAt(bytes, at), byteAt(bytes, at + 1), byteAt(bytes, at + 2));
        }
    }
    return palette;
}

}  // namespace

bool Header::identifies(QByteArrayView bytes)
{
    if (bytes.size() < ByteSize || byteAt(bytes, 0) != Maker)
        return false;
    const int version = byteAt(bytes, 1);
    const int encoding = byteAt(bytes, 2);
    return (version == 0 || (version >= 2 && version <= 5)) && (encoding == 0 || encoding == 1) &&
           isKnownLayout(byteAt(bytes, 3), byteAt(bytes, 65));
}

std::optional<Header> Header::parse(QByteArrayView bytes)
{
    if (!identifies(bytes))
        return std::nullopt;
    const int xMin = wordAt(bytes, 4);
    const int yMin = wordAt(bytes, 6);
    const int xMax = wordAt(bytes, 8);
    const int yMax = wordAt(bytes, 10);
    if (xMax < xMin || yMax < yMin)
        return std::nullopt;

    Header header;
    header.version = byteAt(bytes, 1);
    header.rle = byteAt(bytes, 2) == 1;
    header.bitsPerPixel = byteAt(bytes, 3);
    header.planes = byteAt(bytes, 65);
    header.width = xMax - xMin + 1;
    header.height = yMax - yMin + 1;
    header.bytesPerLine = wordAt(bytes, 66);
    if (qint64(header.bytesPerLine) * 8 < qint64(header.width) * header.bitsPerPixel)
        return std::nullopt;
    header.headerPalette = paletteFrom(bytes, header.version, header.bitsPerPixel, header.planes);
    return header;
}

}  // namespace vantok::pcx
