// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/bmp/bmp_header.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <limits>

namespace vantok::bmp
{

namespace
{

constexpr quint32 Os2CoreSize = 12;
constexpr quint32 Os2SmallestSize = 16;
constexpr quint32 Os2LargestSize = 64;
constexpr quint32 InfoSize = 40;  // the one size that carries its masks after the header
constexpr quint32 V2Size = 52;    // red, green and blue masks in the header
constexpr quint32 V3Size = 56;    // and the alpha mask

enum StoredCompression : quint32 {
    Rgb = 0,
    Rle8 = 1,
    Rle4 = 2,
    BitFields = 3,  // OS/2: Huffman 1D
    Jpeg = 4,       // OS/2: RLE24
    Png = 5,
    AlphaBitFields = 6,
};

quint32 dwordAt(QByteArrayView bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.data() + offset);
}

int wordAt(QByteArrayView bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(bytes.data() + offset);
}

// Windows headers; every other size from 16 to 64 bytes is an OS/2 2.x header cut short
// wherever its writer chose.
bool isWindowsSize(quint32 size)
{
    return size == InfoSize || size == V2Size || size == V3Size || size == 108 || size == 124;
}

bool isKnownSize(quint32 size)
{
    return size == Os2CoreSize || (size >= Os2SmallestSize && size <= Os2LargestSize) ||
           isWindowsSize(size);
}

bool isPlainDepth(int bits)
{
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
           bits == 32;
}

// Bits in the mask when they are one run, -1 when it has a gap.
int channelWidth(quint32 mask)
{
    if (mask == 0)
        return 0;
    const quint32 run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0 ? std::popcount(mask) : -1;
}

bool isUsableChannel(quint32 mask, int bitsPerPixel)
{
    const int width = channelWidth(mask);
    const bool inPixel = bitsPerPixel == 32 || (mask >> bitsPerPixel) == 0;
    return width >= 1 && inPixel;
}

bool areUsable(const Masks &masks, int bitsPerPixel)
{
    const bool coloursUsable = isUsableChannel(masks.red, bitsPerPixel) &&
                               isUsableChannel(masks.green, bitsPerPixel) &&
                               isUsableChannel(masks.blue, bitsPerPixel);
    const bool alphaUsable = masks.alpha == 0 || isUsableChannel(masks.alpha, bitsPerPixel);
    const quint32 overlaps = (masks.red & masks.green) | (masks.red & masks.blue) |
                             (masks.green & masks.blue) |
                             (masks.alpha & (masks.red | masks.green | masks.blue));
    return coloursUsable && alphaUsable && overlaps == 0;
}

Masks defaultMasks(int bitsPerPixel)
{
    if (bitsPerPixel == 16)
        return {0x7c00, 0x03e0, 0x001f, 0};
    return {0x00ff0000, 0x0000ff00, 0x000000ff, 0};
}

// The compression, when the reader decodes it at this depth with this header.
std::optional<Compression> compressionOf(quint32 stored, int bitsPerPixel, quint32 infoSize)
{
    const bool windows = isWindowsSize(infoSize);
    const bool maskedDepth = bitsPerPixel == 16 || bitsPerPixel == 32;
    switch (stored) {
    case Rgb:
        return isPlainDepth(bitsPerPixel) ? std::optional(Compression::None) : std::nullopt;
    case Rle8:
        return bitsPerPixel == 8 ? std::optional(Compression::Rle8) : std::nullopt;
    case Rle4:
        return bitsPerPixel == 4 ? std::optional(Compression::Rle4) : std::nullopt;
    case BitFields:
    case AlphaBitFields:
        return windows && maskedDepth ? std::optional(Compression::BitFields) : std::nullopt;
    case Jpeg:
        return windows && bitsPerPixel == 0 ? std::optional(Compression::Jpeg) : std::nullopt;
    case Png:
        return windows && bitsPerPixel == 0 ? std::optional(Compression::Png) : std::nullopt;
    default:
        return std::nullopt;
    }
}

}  // namespace

bool Header::identifies(QByteArrayView bytes)
{
    return bytes.startsWith("BM");
}

std::optional<Header> Header::parse(QByteArrayView bytes)
{
    if (!identifies(bytes) || bytes.size() < FileHeaderBytes + 4)
        return std::nullopt;
    const quint32 infoSize = dwordAt(bytes, FileHeaderBytes);
    if (!isKnownSize(infoSize) || bytes.size() < FileHeaderBytes + qsizetype(infoSize))
        return std::nullopt;
    const QByteArrayView info = bytes.sliced(FileHeaderBytes, infoSize);
    // Fields past the end of a short OS/2 2.x header read as zero.
    const auto field = [info](qsizetype offset) -> quint32 {
        return offset + 4 <= info.size() ? dwordAt(info, offset) : 0;
    };

    const bool core = infoSize == Os2CoreSize;
    const qint64 width = core ? wordAt(info, 4) : qint32(dwordAt(info, 4));
    const qint64 height = core ? wordAt(info, 6) : qint32(dwordAt(info, 8));
    const int planes = core ? wordAt(info, 8) : wordAt(info, 12);
    const int bitsPerPixel = core ? wordAt(info, 10) : wordAt(info, 14);
    const quint32 storedCompression = field(16);
    const quint32 coloursUsed = field(32);
    constexpr qint64 LargestSide = std::numeric_limits<int>::max();
    if (planes != 1 || width <= 0 || width > LargestSide || height == 0 ||
        std::abs(height) > LargestSide)
        return std::nullopt;
    const std::optional<Compression> compression =
        compressionOf(storedCompression, bitsPerPixel, infoSize);
    if (!compression)
        return std::nullopt;

    Header header;
    header.width = int(width);
    header.height = int(std::abs(height));
    header.topDown = height < 0;
    header.bitsPerPixel = bitsPerPixel;
    header.compression = *compression;
    if (header.topDown && header.isRle())
        return std::nullopt;  // RLE rows only ever run bottom-up

    qsizetype masksEnd = FileHeaderBytes + infoSize;
    if (header.compression == Compression::BitFields) {
        const bool alphaDeclared = storedCompression == AlphaBitFields;
        if (infoSize == InfoSize) {
            const qsizetype count = alphaDeclared ? 4 : 3;
            if (bytes.size() < masksEnd + 4 * count)
                return std::nullopt;
            header.masks = {dwordAt(bytes, masksEnd), dwordAt(bytes, masksEnd + 4),
                            dwordAt(bytes, masksEnd + 8),
                            alphaDeclared ? dwordAt(bytes, masksEnd + 12) : 0};
            masksEnd += 4 * count;
        } else {
            header.masks = {field(40), field(44), field(48), field(52)};
        }
        if (!areUsable(header.masks, bitsPerPixel))
            return std::nullopt;
    } else if (bitsPerPixel == 16 || bitsPerPixel == 32) {
        header.masks = defaultMasks(bitsPerPixel);
    }

    header.paletteOffset = masksEnd;
    header.paletteEntryBytes = core ? 3 : 4;
    header.pixelOffset = dwordAt(bytes, 10);
    if (header.pixelOffset < header.paletteOffset)
        return std::nullopt;
    if (bitsPerPixel <= 8 && !header.isEmbedded()) {
        const qint64 reachable = qint64(1) << bitsPerPixel;
        const qint64 declared = coloursUsed != 0 ? qint64(coloursUsed) : reachable;
        const qint64 room = (header.pixelOffset - header.paletteOffset) / header.paletteEntryBytes;
        header.paletteEntries = int(std::min({declared, room, reachable}));
    }
    return header;
}

}  // namespace vantok::bmp
