// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pictures/bmp/bmp_header.h"
#include "pictures/bmp/bmp_palette.h"

#include <QByteArrayView>
#include <QImage>

namespace vantok::bmp
{

// Draws an RLE8 or RLE4 stream into an ARGB32 image of the header's size, rows from the bottom
// up. Every pixel the stream leaves unset, by a delta or an early end, stays transparent; when
// it sets them all the image turns RGB32. Runs past the end of a row are cut off there. False
// when the data ends before the end-of-picture mark and before the last row is drawn.
bool decodeRle(const Header &header, QByteArrayView data, const Palette &palette, QImage &image);

}  // namespace vantok::bmp
