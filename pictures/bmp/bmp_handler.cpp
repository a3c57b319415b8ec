// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/bmp/bmp_handler.h"

#include "pictures/bmp/bmp_palette.h"
#include "pictures/bmp/bmp_rle.h"
#include "pictures/bmp/bmp_rows.h"
#include "pictures/bounded_read.h"

#include <QBuffer>
#include <QImageReader>
#include <QVariant>

#include <algorithm>
#include <limits>
#include <vector>

namespace vantok
{

using bmp::Compression;
using bmp::Header;
using bmp::Palette;

namespace
{

bool skipExactly(QIODevice *in, qint64 count)
{
    return count == 0 || in->skip(count) == count;
}

// Small enough to stay in the cache from the read to the conversion.
constexpr qint64 RowChunkBytes = 256 << 10;

QRgb *storedRow(QImage &image, const Header &header, int stored)
{
    const int y = header.topDown ? stored : header.height - 1 - stored;
    return reinterpret_cast<QRgb *>(image.scanLine(y));
}

// Reads the rows a chunk of whole rows at a time; false when the device ends before the last row.
bool readRowsInChunks(QIODevice *in, const Header &header, const Palette &palette, QImage &image)
{
    const qint64 rowBytes = header.rowBytes();
    const int rowsPerChunk = int(std::min<qint64>(RowChunkBytes / rowBytes, header.height));
    std::vector<uchar> chunk(std::size_t(rowsPerChunk * rowBytes));
    const bmp::RowConverter converter(header, palette);
    for (int done = 0; done < header.height;) {
        const int rows = std::min(rowsPerChunk, header.height - done);
        if (!readExactly(in, reinterpret_cast<char *>(chunk.data()), rows * rowBytes))
            return false;
        for (int i = 0; i < rows; ++i)
            converter.convert(chunk.data() + i * rowBytes, storedRow(image, header, done + i));
        done += rows;
    }
    return true;
}

// A row longer than a chunk is read a piece at a time, so that a picture only a few rows high is
// never held a second time as it is stored.
bool readRowsInPieces(QIODevice *in, const Header &header, const Palette &palette, QImage &image)
{
    // Eight pixels end on a whole byte at every depth.
    const int piecePixels = int(RowChunkBytes / header.bitsPerPixel) * 8;
    const auto bytesOf = [&header](int pixels) {
        return (qint64(pixels) * header.bitsPerPixel + 7) / 8;
    };
    const int lastPixels = (header.width - 1) % piecePixels + 1;
    Header piece = header;
    piece.width = piecePixels;
    const bmp::RowConverter whole(piece, palette);
    piece.width = lastPixels;
    const bmp::RowConverter last(piece, palette);
    const qint64 padding = header.rowBytes() - bytesOf(header.width);

    std::vector<uchar> bytes(std::size_t(bytesOf(piecePixels)));
    for (int row = 0; row < header.height; ++row) {
        QRgb *out = storedRow(image, header, row);
        for (int x = 0; x < header.width; x += piecePixels) {
            const bool isLast = x + piecePixels >= header.width;
            const qint64 count = bytesOf(isLast ? lastPixels : piecePixels);
            if (!readExactly(in, reinterpret_cast<char *>(bytes.data()), count))
                return false;
            (isLast ? last : whole).convert(bytes.data(), out + x);
        }
        if (!skipExactly(in, padding))
            return false;
    }
    return true;
}

// The longest stream worth reading: a code of two bytes for every pixel and an end of line for
// every row.
qint64 longestRle(const Header &header)
{
    return 2 * (qint64(header.width) * header.height + header.height + 1);
}

qint64 allocationLimitBytes()
{
    const int mebibytes = QImageReader::allocationLimit();
    return mebibytes > 0 ? qint64(mebibytes) << 20 : std::numeric_limits<qint64>::max();
}

}  // namespace

bool BmpHandler::canRead(QIODevice *device)
{
    return device && Header::identifies(device->peek(2));
}

bool BmpHandler::canRead() const
{
    if (!canRead(device()))
        return false;
    setFormat("bmp");
    return true;
}

bool BmpHandler::read(QImage *image)
{
    const Header *header = this->header();
    if (!header)
        return false;
    QImage decoded = header->isEmbedded() ? readEmbedded(*header) : readPixels(*header);
    if (decoded.isNull())
        return false;
    *image = std::move(decoded);
    return true;
}

QImage BmpHandler::readPixels(const Header &header)
{
    if (qint64(header.width) * header.height > allocationLimitBytes() / 4)
        return {};  // before the palette or the stream is read
    QIODevice *in = device();
    const qint64 paletteBytes = qint64(header.paletteEntries) * header.paletteEntryBytes;
    if (!skipExactly(in, header.paletteOffset))
        return {};
    const QByteArray storedPalette = in->read(paletteBytes);
    if (storedPalette.size() != paletteBytes ||
        !skipExactly(in, header.pixelOffset - header.paletteOffset - paletteBytes))
        return {};
    const Palette palette = bmp::paletteFrom(storedPalette, header.paletteEntryBytes);

    // A cut file is refused before the picture is allocated.
    QImage decoded;
    if (header.isRle()) {
        const QByteArray stream = readAtMost(in, longestRle(header));
        if (!bmp::isWholeRle(header, stream) ||
            !allocateImage(header.size(), header.imageFormat(), &decoded))
            return {};
        bmp::drawRle(header, stream, palette, decoded);
        return decoded;
    }
    if (!in->isSequential() && in->bytesAvailable() / header.rowBytes() < header.height)
        return {};
    if (!allocateImage(header.size(), header.imageFormat(), &decoded))
        return {};
    const bool complete = header.rowBytes() <= RowChunkBytes
                              ? readRowsInChunks(in, header, palette, decoded)
                              : readRowsInPieces(in, header, palette, decoded);
    return complete ? decoded : QImage();
}

// Qt's own decoders read the embedded stream; the picture must have the size the header gives.
QImage BmpHandler::readEmbedded(const Header &header)
{
    QIODevice *in = device();
    if (!skipExactly(in, header.pixelOffset))
        return {};
    QByteArray stream = readAtMost(in, allocationLimitBytes());
    QBuffer buffer(&stream);
    buffer.open(QIODevice::ReadOnly);
    QImageReader embedded(&buffer, header.compression == Compression::Jpeg ? "jpeg" : "png");
    if (embedded.size() != header.size())
        return {};
    const QImage picture = embedded.read();
    return picture.size() == header.size() ? picture : QImage();
}

bool BmpHandler::supportsOption(ImageOption option) const
{
    return option == Size || option == ImageFormat;
}

QVariant BmpHandler::option(ImageOption option) const
{
    const Header *header = this->header();
    if (!header)
        return {};
    if (option == Size)
        return header->size();
    if (option == ImageFormat && !header->isEmbedded())
        return header->imageFormat();
    return {};
}

// Parsed once from a peek, so that size queries before read() leave the device where it was.
const Header *BmpHandler::header() const
{
    if (!m_headerParsed && device()) {
        m_header = Header::parse(device()->peek(Header::LongestBytes));
        m_headerParsed = true;
    }
    return m_header ? &*m_header : nullptr;
}

}  // namespace vantok
