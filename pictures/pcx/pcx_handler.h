// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pictures/pcx/pcx_header.h"

#include <QImageIOHandler>

#include <optional>

namespace vantok
{

// Reads one PCX picture from its device. Every size from the header is checked before use, the
// image honours QImageReader::allocationLimit(), and a file that ends early yields no image.
class PcxHandler : public QImageIOHandler
{
public:
    static bool canRead(QIODevice *device);

    bool canRead() const override;
    bool read(QImage *image) override;
    bool supportsOption(ImageOption option) const override;
    QVariant option(ImageOption option) const override;

private:
    const pcx::Header *header() const;

    mutable std::optional<pcx::Header> header_;
    mutable bool headerParsed_ = false;
};

}  // namespace vantok
