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

// Reads the rows a chunk at a time; false when the device ends before the last row.
bool readRows(QIODevice *in, const Header &header, const Palette &palette, QImage &image)
{
    const qint64 rowBytes = header.rowBytes();
    const int rowsPerChunk = int(std::clamp<qint64>(RowChunkBytes / rowBytes, 1, header.height));
    std::vector<uchar> chunk(std::size_t(rowsPerChunk * rowBytes));
    const bmp::RowConverter converter(header, palette);
    uchar *bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    for (int done = 0; done < header.height;) {
        const int rows = std::min(rowsPerChunk, header.height - done);
        if (!readExactly(in, reinterpret_cast<char *>(chunk.data()), rows * rowBytes))
            return false;
        for (int i = 0; i < rows; ++i) {
            const int stored = done + i;
            const int y = header.topDown ? stored : header.height - 1 - stored;
            converter.convert(chunk.data() + i * rowBytes,
                              reinterpret_cast<QRgb *>(bits + y * bytesPerLine));
        }
        done += rows;
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
    QImage decoded;
    if (!allocateImage(header.size(), header.imageFormat(), &decoded))
        return {};
    QIODevice *in = device();
    const qint64 paletteBytes = qint64(header.paletteEntries) * header.paletteEntryBytes;
    if (!skipExactly(in, header.paletteOffset))
        return {};
    const QByteArray storedPalette = in->read(paletteBytes);
    if (storedPalette.size() != paletteBytes ||
        !skipExactly(in, header.pixelOffset - header.paletteOffset - paletteBytes))
        return {};
    const Palette palette = bmp::paletteFrom(storedPalette, header.paletteEntryBytes);

    const bool complete =
        header.isRle()
            ? bmp::decodeRle(header, readAtMost(in, longestRle(header)), palette, decoded)
            : readRows(in, header, palette, decoded);
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
