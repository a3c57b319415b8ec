// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/bmp/bmp_palette.h"

#include <algorithm>

namespace vantok::bmp
{

Palette paletteFrom(QByteArrayView stored, int entryBytes)
{
    const auto *bytes = reinterpret_cast<const uchar *>(stored.data());
    const qsizetype entries = std::min<qsizetype>(stored.size() / entryBytes, 256);
    Palette palette;
    for (qsizetype i = 0; i < entries; ++i) {
        const uchar *entry = bytes + i * entryBytes;
        palette[i] = qRgb(entry[2], entry[1], entry[0]);
    }
    const QRgb missing = entries > 0 ? palette[0] : qRgb(0, 0, 0);
    std::fill(palette.begin() + entries, palette.end(), missing);
    return palette;
}

}  // namespace vantok::bmp
