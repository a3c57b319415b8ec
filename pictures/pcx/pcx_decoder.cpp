// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/pcx/pcx_decoder.h"

#include "pictures/pcx/pcx_scan_lines.h"

namespace vantok::pcx
{

namespace
{

constexpr uchar TrailingPaletteMark = 0x0C;

// One byte per colour component, one plane per component: red, green, blue and maybe alpha.
void unpackTrueColour(const Header &header, const uchar *line, QRgb *out)
{
    const uchar *red = line;
    const uchar *green = red + header.bytesPerLine;
    const uchar *blue = green + header.bytesPerLine;
    if (header.hasAlpha()) {
        const uchar *alpha = blue + header.bytesPerLine;
        for (int x = 0; x < header.width; ++x)
            out[x] = qRgba(red[x], green[x], blue[x], alpha[x]);
    } else {
        for (int x = 0; x < header.width; ++x)
            out[x] = qRgb(red[x], green[x], blue[x]);
    }
}

// One bit per plane; plane 0 holds the lowest bit of the colour index.
void unpackBitPlanes(const Header &header, const uchar *line, const Palette &palette, QRgb *out)
{
    for (int x = 0; x < header.width; ++x) {
        const int byte = x >> 3;
        const int shift = 7 - (x & 7);
        int index = 0;
        for (int plane = 0; plane < header.planes; ++plane)
            index |= ((line[plane * header.bytesPerLine + byte] >> shift) & 1) << plane;
        out[x] = palette[index];
    }
}

// Several indices per byte in one plane, the leftmost pixel in the highest bits.
void unpackPackedIndices(const Header &header, const uchar *line, const Palette &palette, QRgb *out)
{
    const int bits = header.bitsPerPixel;
    const int perByte = 8 / bits;
    const int mask = (1 << bits) - 1;
    for (int x = 0; x < header.width; ++x) {
        const int shift = 8 - bits * (x % perByte + 1);
        out[x] = palette[(line[x / perByte] >> shift) & mask];
    }
}

}  // namespace

std::optional<Palette> trailingPalette(QByteArrayView trailer)
{
    if (trailer.size() != TrailingPaletteBytes || uchar(trailer[0]) != TrailingPaletteMark)
        return std::nullopt;
    Palette palette;
    const auto *rgb = reinterpret_cast<const uchar *>(trailer.data()) + 1;
    for (qsizetype i = 0; i < 256; ++i)
        palette[i] = qRgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    return palette;
}

bool decodePixels(const Header &header, QByteArrayView pixelData, const Palette &palette,
                  QImage &image)
{
    Q_ASSERT(image.size() == header.size() && image.format() == header.imageFormat());
    ScanLines lines(pixelData, header.rle, header.scanLineBytes());
    for (int y = 0; y < header.height; ++y) {
        const uchar *line = lines.next();
        if (!line)
            return false;
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        if (header.bitsPerPixel == 8 && header.planes > 1)
            unpackTrueColour(header, line, out);
        else if (header.bitsPerPixel == 1)
            unpackBitPlanes(header, line, palette, out);
        else
            unpackPackedIndices(header, line, palette, out);
    }
    return true;
}

}  // namespace vantok::pcx
