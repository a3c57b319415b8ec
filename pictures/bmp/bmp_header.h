// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>

#include <optional>

namespace vantok::bmp
{

enum class Compression { None, Rle8, Rle4, BitFields, Jpeg, Png };

// Where each colour channel sits in a 16- or 32-bit pixel. A zero alpha mask means opaque.
struct Masks {
    quint32 red = 0;
    quint32 green = 0;
    quint32 blue = 0;
    quint32 alpha = 0;

    friend bool operator==(const Masks &, const Masks &) = default;
};

// The file header and the info header of a BMP file, with the masks that follow a 40-byte
// header, checked so that every layout it describes is one the reader decodes exactly.
struct Header {
    static constexpr qsizetype FileHeaderBytes = 14;
    // The file header, the largest info header and four masks after a 40-byte one.
    static constexpr qsizetype LongestBytes = FileHeaderBytes + 124 + 16;

    // Whether the bytes start like a BMP file. Says nothing about whether the reader decodes it.
    static bool identifies(QByteArrayView bytes);
    // The header, or nothing when the bytes are no BMP header or describe a layout the reader
    // refuses: 64-bit pixels, OS/2 Huffman or RLE24, empty, overlapping or gapped masks, sizes
    // that do not add up.
    static std::optional<Header> parse(QByteArrayView bytes);

    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    Compression compression = Compression::None;
    Masks masks;  // for 16- and 32-bit pixels, the defaults when the file gives none
    qint64 paletteOffset = 0;
    int paletteEntryBytes = 4;
    int paletteEntries = 0;  // those stored and reachable by an index of bitsPerPixel bits
    qint64 pixelOffset = 0;

    QSize size() const { return {width, height}; }
    bool isEmbedded() const
    {
        return compression == Compression::Jpeg || compression == Compression::Png;
    }
    bool isRle() const
    {
        return compression == Compression::Rle8 || compression == Compression::Rle4;
    }
    // Bytes per stored row of an uncompressed picture, padded to four.
    qint64 rowBytes() const { return (qint64(width) * bitsPerPixel + 31) / 32 * 4; }
    // RLE may leave pixels unset, and those stay transparent.
    QImage::Format imageFormat() const
    {
        return masks.alpha != 0 || isRle() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    }
};

}  // namespace vantok::bmp
