// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/cut_short.h"

#include "pictures/bmp/bmp_header.h"
#include "pictures/bmp/bmp_rle.h"
#include "pictures/bounded_read.h"
#include "pictures/pcx/pcx_decoder.h"
#include "pictures/pcx/pcx_scan_lines.h"

#include <QIODevice>
#include <QtEndian>

namespace vantok
{

namespace
{

constexpr qint64 WalkChunkBytes = 64 * 1024;

class PositionKept
{
public:
    explicit PositionKept(QIODevice &device) : m_device(device), m_position(device.pos()) {}
    ~PositionKept() { m_device.seek(m_position); }
    PositionKept(const PositionKept &) = delete;
    PositionKept &operator=(const PositionKept &) = delete;

private:
    QIODevice &m_device;
    const qint64 m_position;
};

// Reads a file forward from a place, a chunk at a time, so that a walk over its structure holds
// little and reads what it passes once.
class Forward
{
public:
    Forward(QIODevice &device, qint64 at) : m_device(device), m_next(at) {}

    // The next byte, or -1 where the file ends.
    int next()
    {
        if (m_in == m_chunk.size() && !fill())
            return -1;
        return uchar(m_chunk[m_in++]);
    }
    // The next `count` bytes, fewer where the file ends.
    QByteArray take(qsizetype count)
    {
        QByteArray bytes;
        for (int byte; bytes.size() < count && (byte = next()) >= 0;)
            bytes += char(byte);
        return bytes;
    }
    // Passes over `count` bytes; false when the file ends first.
    bool skip(qint64 count)
    {
        const qint64 buffered = m_chunk.size() - m_in;
        if (count <= buffered) {
            m_in += count;
            return true;
        }
        m_next += count - buffered;
        m_chunk.clear();
        m_in = 0;
        return m_next <= m_device.size();
    }
    // Passes on to the next `byte`; false when the file ends first.
    bool skipTo(char byte)
    {
        for (;;) {
            const qsizetype found = m_chunk.indexOf(byte, m_in);
            if (found >= 0) {
                m_in = found;
                return true;
            }
            if (!fill())
                return false;
        }
    }

private:
    bool fill()
    {
        m_chunk = m_device.seek(m_next) ? m_device.read(WalkChunkBytes) : QByteArray();
        m_next += m_chunk.size();
        m_in = 0;
        return !m_chunk.isEmpty();
    }

    QIODevice &m_device;
    qint64 m_next;  // where the next chunk starts
    QByteArray m_chunk;
    qsizetype m_in = 0;
};

bool endsWith(QIODevice &device, qint64 start, QByteArrayView end)
{
    const qint64 at = device.size() - end.size();
    return at >= start && device.seek(at) && device.read(end.size()) == end;
}

// A JPEG ends with its end-of-image marker, FF D9. Those two bytes stand nowhere else as a cut
// file's last: in coded data every FF is followed by 00 or a restart marker, and only a cut right
// after such bytes inside a segment (a table, a comment, the thumbnail before the picture's own
// data) could end so. So a file ending in them is whole, at the cost of a two-byte read. Some whole
// files carry more after the marker (padding, a second picture, a video); those are walked:
// segments skipped by their lengths, coded data searched for its next marker, until the end
// marker or the end of the file.
bool jpegCutShort(QIODevice &device, qint64 start)
{
    if (endsWith(device, start, "\xff\xd9"))
        return false;
    Forward in(device, start + 2);  // past the start-of-image marker
    for (;;) {
        if (!in.skipTo('\xff'))
            return true;
        int marker = in.next();
        while (marker == 0xff)  // the marker's own FF, then fill bytes
            marker = in.next();
        if (marker < 0)
            return true;
        if (marker == 0xd9)
            return false;
        // 00 after FF in coded data, restart markers, and the markers without a length.
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xd0 && marker <= 0xd8))
            continue;
        const int high = in.next();
        const int low = in.next();
        if (low < 0)
            return true;
        const int length = high << 8 | low;  // its own two bytes included
        if (length < 2)
            return false;  // damaged, not cut
        if (!in.skip(length - 2))
            return true;
    }
}

// A PNG ends with its end chunk, always the same twelve bytes. One with more after it is walked
// chunk by chunk to its end chunk.
bool pngCutShort(QIODevice &device, qint64 start)
{
    if (endsWith(device, start, {"\0\0\0\0IEND\xae\x42\x60\x82", 12}))
        return false;
    Forward in(device, start + 8);  // past the signature
    for (;;) {
        const QByteArray lengthAndType = in.take(8);
        if (lengthAndType.size() < 8)
            return true;
        const quint32 length = qFromBigEndian<quint32>(lengthAndType.constData());
        if (length > 0x7fffffff)
            return false;                  // damaged, not cut
        if (!in.skip(qint64(length) + 4))  // the data and its checksum
            return true;
        if (lengthAndType.endsWith("IEND"))
            return false;
    }
}

// A GIF ends with its trailer byte, 3B. Any data byte may be 3B, so the blocks are walked: the
// screen descriptor and colour table, then extensions and images, each a chain of sub-blocks of
// at most 255 bytes, until the trailer.
bool gifCutShort(QIODevice &device, qint64 start)
{
    Forward in(device, start);
    const auto passTable = [&in](uchar flags) {
        return !(flags & 0x80) || in.skip(3 << ((flags & 7) + 1));
    };
    const auto passSubBlocks = [&in] {
        int size = in.next();
        for (; size > 0; size = in.next()) {
            if (!in.skip(size))
                return false;
        }
        return size == 0;
    };
    const QByteArray screen = in.take(13);  // signature, version and logical screen descriptor
    if (screen.size() < 13 || !passTable(screen[10]))
        return true;
    for (;;) {
        switch (in.next()) {
        case 0x3b:
            return false;
        case 0x21:  // an extension: its label, then its sub-blocks
            if (in.next() < 0 || !passSubBlocks())
                return true;
            break;
        case 0x2c: {  // an image: its descriptor, colour table, code size and sub-blocks
            const QByteArray descriptor = in.take(9);
            if (descriptor.size() < 9 || !passTable(descriptor[8]) || in.next() < 0 ||
                !passSubBlocks())
                return true;
            break;
        }
        case -1:
            return true;
        default:
            return false;  // damaged, not cut
        }
    }
}

// The readers below refuse a cut file themselves; these only tell a cut one from others.

bool bmpCutShort(QIODevice &device, qint64 start)
{
    const qint64 size = device.size() - start;
    device.seek(start);
    const QByteArray headers = device.read(bmp::Header::LongestBytes);
    constexpr qsizetype InfoSizeAt = bmp::Header::FileHeaderBytes;
    if (headers.size() < InfoSizeAt + 4)
        return true;
    const quint32 infoBytes = qFromLittleEndian<quint32>(headers.constData() + InfoSizeAt);
    if (infoBytes <= 124 && size < InfoSizeAt + infoBytes)
        return true;
    const std::optional<bmp::Header> header = bmp::Header::parse(headers);
    if (!header)
        return false;
    if (header->pixelOffset >= size)
        return true;
    if (header->compression == bmp::Compression::Jpeg)
        return jpegCutShort(device, start + header->pixelOffset);
    if (header->compression == bmp::Compression::Png)
        return pngCutShort(device, start + header->pixelOffset);
    const qint64 pixelBytes = size - header->pixelOffset;
    if (header->isRle()) {
        device.seek(start + header->pixelOffset);
        return !bmp::isWholeRle(*header, readAtMost(&device, pixelBytes));
    }
    return pixelBytes / header->rowBytes() < header->height;
}

// The pixel data must fill every scan line before the 256-colour palette that closes such a file.
bool pcxCutShort(QIODevice &device, qint64 start)
{
    const qint64 size = device.size() - start;
    device.seek(start);
    const QByteArray headerBytes = device.read(pcx::Header::ByteSize);
    if (headerBytes.size() < pcx::Header::ByteSize)
        return true;
    const std::optional<pcx::Header> header = pcx::Header::parse(headerBytes);
    if (!header)
        return false;
    const qint64 paletteBytes = header->hasTrailingPalette() ? pcx::TrailingPaletteBytes : 0;
    const qint64 pixelBytes = size - pcx::Header::ByteSize - paletteBytes;
    if (pixelBytes < 0)
        return true;
    // No well-formed run spends more than two bytes on one byte of pixel data.
    const qint64 useful = header->rle ? 2 * header->pixelDataBytes() : header->pixelDataBytes();
    const QByteArray pixels = readAtMost(&device, qMin(pixelBytes, useful));
    pcx::ScanLines lines(pixels, header->rle, header->scanLineBytes());
    for (int y = 0; y < header->height; ++y) {
        if (!lines.next())
            return true;
    }
    return false;
}

// An icon file lists where each of its images lies.
bool icoCutShort(QIODevice &device, qint64 start)
{
    constexpr qsizetype DirectoryBytes = 6;
    constexpr qsizetype EntryBytes = 16;
    const qint64 size = device.size() - start;
    device.seek(start);
    const QByteArray directory = device.read(DirectoryBytes);
    if (directory.size() < DirectoryBytes)
        return true;
    const int count = qFromLittleEndian<quint16>(directory.constData() + 4);
    const QByteArray entries = device.read(count * EntryBytes);
    if (entries.size() < count * EntryBytes)
        return true;
    for (int i = 0; i < count; ++i) {
        const char *entry = entries.constData() + i * EntryBytes;
        const qint64 bytes = qFromLittleEndian<quint32>(entry + 8);
        const qint64 offset = qFromLittleEndian<quint32>(entry + 12);
        if (offset + bytes > size)
            return true;
    }
    return false;
}

}  // namespace

bool endsCutShort(QIODevice &device, qint64 start, QByteArrayView format)
{
    if (device.isSequential())
        return false;
    const PositionKept kept(device);
    if (format == "jpeg")
        return jpegCutShort(device, start);
    if (format == "png")
        return pngCutShort(device, start);
    if (format == "gif")
        return gifCutShort(device, start);
    if (format == "bmp")
        return bmpCutShort(device, start);
    if (format == "pcx")
        return pcxCutShort(device, start);
    if (format == "ico" || format == "cur")
        return icoCutShort(device, start);
    return false;
}

bool readerMayShowCutFile(QByteArrayView format)
{
    return format == "jpeg" || format == "png" || format == "gif" || format == "bmp";
}

}  // namespace vantok
