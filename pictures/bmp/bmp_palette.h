// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QRgb>

#include <array>

namespace vantok::bmp
{

// Colours for every index an 8-bit pixel can hold, opaque.
using Palette = std::array<QRgb, 256>;

// The stored entries (blue, green, red and, in entries of four bytes, one unused byte), then
// entry 0 again for every index the file left out, or black when it stores none.
Palette paletteFrom(QByteArrayView stored, int entryBytes);

}  // namespace vantok::bmp
