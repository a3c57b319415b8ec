// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/sixteen_bit_png.h"

#include "pictures/bounded_read.h"
#include "pictures/picture_loader.h"

#include <QBuffer>
#include <QImageReader>
#include <QRgba64>
#include <QtEndian>

#include <optional>

namespace vantok
{

namespace
{

constexpr QByteArrayView Signature{"\x89PNG\r\n\x1a\n", 8};
constexpr qsizetype LengthBytes = 4, TypeBytes = 4, CrcBytes = 4;
// The signature, then the header chunk: its length and type, width, height, depth, colour type.
constexpr qsizetype HeaderStartBytes = 8 + LengthBytes + TypeBytes + 10;
constexpr quint32 Longest = 0x7fffffff;  // the format's bound on a side and on a chunk
constexpr int Truecolour = 2;
// How far the chunks before the pixels are looked through for a tRNS chunk.
constexpr qint64 LookAheadBytes = 64 * 1024;

bool startsSixteenBitTruecolour(QByteArrayView start)
{
    return start.size() >= HeaderStartBytes && start.startsWith(Signature) &&
           start.sliced(12, TypeBytes) == "IHDR" && start[24] == 16 && start[25] == Truecolour;
}

// An impossible size is refused like one over the limit.
bool fitsLimit(QByteArrayView start)
{
    if (!startsSixteenBitTruecolour(start))
        return false;
    const quint32 width = qFromBigEndian<quint32>(start.data() + 16);
    const quint32 height = qFromBigEndian<quint32>(start.data() + 20);
    return width > 0 && height > 0 && width <= Longest && height <= Longest &&
           fitsPictureSizeLimit(QSize(int(width), int(height)));
}

// The CRC-32 that every chunk ends with, over its type and data.
quint32 crc32(QByteArrayView bytes)
{
    quint32 crc = 0xffffffff;
    for (const char byte : bytes) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// The colour a tRNS chunk names, given its type, data and CRC. Like libpng, one of the wrong
// length or with a wrong CRC names none.
std::optional<QRgba64> keyColour(QByteArrayView chunk)
{
    constexpr qsizetype DataBytes = 6;
    if (chunk.size() != TypeBytes + DataBytes + CrcBytes ||
        crc32(chunk.first(TypeBytes + DataBytes)) !=
            qFromBigEndian<quint32>(chunk.data() + TypeBytes + DataBytes))
        return std::nullopt;
    const auto sample = [&chunk](int i) {
        return qFromBigEndian<quint16>(chunk.data() + TypeBytes + 2 * i);
    };
    return QRgba64::fromRgba64(sample(0), sample(1), sample(2), 0xffff);
}

// The file without the tRNS chunks that come before its pixels, and the colour the first one
// names. At most the size limit is held; a file cut short is left for the decoder to judge.
struct WithoutKey {
    QByteArray bytes;
    std::optional<QRgba64> key;
};

std::optional<WithoutKey> withoutKey(QIODevice &device)
{
    constexpr qint64 LimitBytes = qint64(PictureSizeLimitMiB) * 1024 * 1024;
    WithoutKey file{readAtMost(&device, Signature.size()), std::nullopt};
    bool pixelsSeen = false;
    for (;;) {
        const QByteArray length = readAtMost(&device, LengthBytes);
        if (length.size() < LengthBytes)
            break;
        const quint32 dataBytes = qFromBigEndian<quint32>(length.constData());
        const qint64 chunkBytes = LengthBytes + TypeBytes + qint64(dataBytes) + CrcBytes;
        if (dataBytes > Longest || file.bytes.size() + chunkBytes > LimitBytes)
            return std::nullopt;
        const QByteArray chunk = readAtMost(&device, chunkBytes - LengthBytes);
        const QByteArrayView type = QByteArrayView(chunk).first(qMin(chunk.size(), TypeBytes));
        pixelsSeen = pixelsSeen || type == "IDAT";
        if (type == "tRNS" && !pixelsSeen) {
            if (!file.key)
                file.key = keyColour(chunk);
            continue;
        }
        file.bytes += length + chunk;
        if (type == "IEND")
            break;
    }
    return file;
}

// Qt reads these pictures as Format_RGBX64, every sample exact, so the key is compared at 16 bits.
void makeTransparent(QImage &picture, QRgba64 key)
{
    picture.convertTo(QImage::Format_RGBA64);
    for (int y = 0; y < picture.height(); ++y) {
        auto *row = reinterpret_cast<QRgba64 *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (row[x] == key)
                row[x].setAlpha(0);
        }
    }
}

}  // namespace

bool isColourKeyedSixteenBitPng(QIODevice &device)
{
    if (!startsSixteenBitTruecolour(device.peek(HeaderStartBytes)))
        return false;
    const QByteArray start = device.peek(LookAheadBytes);
    for (qsizetype at = Signature.size(); at + LengthBytes + TypeBytes <= start.size();) {
        const QByteArrayView type = QByteArrayView(start).sliced(at + LengthBytes, TypeBytes);
        if (type == "tRNS")
            return true;
        if (type == "IDAT")
            return false;
        at +=
            LengthBytes + TypeBytes + qint64(qFromBigEndian<quint32>(start.data() + at)) + CrcBytes;
    }
    return true;  // not found within the look-ahead: read it the careful way
}

QImage readColourKeyedSixteenBitPng(QIODevice &device)
{
    if (!fitsLimit(device.peek(HeaderStartBytes)))
        return {};
    std::optional<WithoutKey> file = withoutKey(device);
    if (!file)
        return {};
    QBuffer buffer(&file->bytes);
    buffer.open(QIODevice::ReadOnly);
    QImage picture;
    if (!QImageReader(&buffer, "png").read(&picture))
        return {};
    if (file->key)
        makeTransparent(picture, *file->key);
    return picture;
}

}  // namespace vantok
