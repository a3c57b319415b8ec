// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pictures/pcx/pcx_header.h"

#include <QByteArrayView>
#include <QImage>

#include <optional>

namespace vantok::pcx
{

// A 256-colour file ends with a marker byte and 256 RGB triplets.
inline constexpr qsizetype TrailingPaletteBytes = 1 + 3 * 256;

// The palette in the last TrailingPaletteBytes of a file; nothing when the marker is missing.
std::optional<Palette> trailingPalette(QByteArrayView trailer);

// Fills an image already allocated at the header's size and format from the pixel data that
// follows the header. False when the data ends before the last row.
bool decodePixels(const Header &header, QByteArrayView pixelData, const Palette &palette,
                  QImage &image);

}  // namespace vantok::pcx
