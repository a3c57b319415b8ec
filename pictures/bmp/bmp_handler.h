// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pictures/bmp/bmp_header.h"

#include <QImageIOHandler>

#include <optional>

namespace vantok
{

// Reads one BMP picture from its device, every stored value scaled exactly to 8 bits. Every size
// from the headers is checked before use, the image honours QImageReader::allocationLimit()
// before anything is allocated, and a file that ends before its pixels do yields no image.
class BmpHandler : public QImageIOHandler
{
public:
    static bool canRead(QIODevice *device);

    bool canRead() const override;
    bool read(QImage *image) override;
    bool supportsOption(ImageOption option) const override;
    QVariant option(ImageOption option) const override;

private:
    const bmp::Header *header() const;
    QImage readPixels(const bmp::Header &header);
    QImage readEmbedded(const bmp::Header &header);

    mutable std::optional<bmp::Header> m_header;
    mutable bool m_headerParsed = false;
};

}  // namespace vantok
