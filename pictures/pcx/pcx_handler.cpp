// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/pcx/pcx_handler.h"

#include "pictures/bounded_read.h"
#include "pictures/pcx/pcx_decoder.h"

#include <QIODevice>
#include <QVariant>

namespace vantok
{

using pcx::Header;
using pcx::Palette;
using pcx::TrailingPaletteBytes;

namespace
{

// The 256-colour palette closes the file, wherever the pixel data ends. When the read of the pixel
// data already reached into it, the palette bytes are cut off the pixel data.
std::optional<Palette> readTrailingPalette(QIODevice *in, QByteArray &pixelData)
{
    QByteArray tail = pixelData.right(TrailingPaletteBytes);
    qint64 restBytes = 0;
    if (!in->isSequential()) {
        const qint64 skip = in->size() - in->pos() - TrailingPaletteBytes;
        if (skip > 0 && in->seek(in->pos() + skip)) {
            restBytes = skip;
            tail.clear();
        }
    }
    for (QByteArray chunk; !(chunk = in->read(ReadChunkBytes)).isEmpty();) {
        restBytes += chunk.size();
        tail = (tail + chunk).right(TrailingPaletteBytes);
    }
    const qint64 totalBytes = pixelData.size() + restBytes;
    if (totalBytes < TrailingPaletteBytes)
        return std::nullopt;
    pixelData.truncate(qMin<qint64>(pixelData.size(), totalBytes - TrailingPaletteBytes));
    return pcx::trailingPalette(tail);
}

}  // namespace

bool PcxHandler::canRead(QIODevice *device)
{
    return device && Header::identifies(device->peek(Header::ByteSize));
}

bool PcxHandler::canRead() const
{
    if (!canRead(device()))
        return false;
    setFormat("pcx");
    return true;
}

bool PcxHandler::read(QImage *image)
{
    const Header *header = this->header();
    QIODevice *in = device();
    if (!header || in->skip(Header::ByteSize) != Header::ByteSize)
        return false;
    QImage decoded;
    if (!allocateImage(header->size(), header->imageFormat(), &decoded))
        return false;

    // No well-formed RLE stream spends more than two bytes on one byte of pixel data.
    const qint64 usefulBytes =
        header->rle ? 2 * header->pixelDataBytes() : header->pixelDataBytes();
    QByteArray pixelData = readAtMost(in, usefulBytes);
    Palette palette = header->headerPalette;
    if (header->hasTrailingPalette()) {
        const std::optional<Palette> trailing = readTrailingPalette(in, pixelData);
        if (!trailing)
            return false;
        palette = *trailing;
    }
    if (!pcx::decodePixels(*header, pixelData, palette, decoded))
        return false;
    *image = std::move(decoded);
    return true;
}

bool PcxHandler::supportsOption(ImageOption option) const
{
    return option == Size || option == ImageFormat;
}

QVariant PcxHandler::option(ImageOption option) const
{
    const Header *header = this->header();
    if (!header)
        return {};
    if (option == Size)
        return header->size();
    if (option == ImageFormat)
        return header->imageFormat();
    return {};
}

// Parsed once from a peek, so that size queries before read() leave the device where it was.
const Header *PcxHandler::header() const
{
    if (!headerParsed_ && device()) {
        header_ = Header::parse(device()->peek(Header::ByteSize));
        headerParsed_ = true;
    }
    return header_ ? &*header_ : nullptr;
}

}  // namespace vantok
