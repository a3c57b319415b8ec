// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pictures/bmp/bmp_header.h"
#include "pictures/bmp/bmp_palette.h"

#include <QByteArrayView>
#include <QImage>

namespace vantok::bmp
{

// Whether an RLE8 or RLE4 stream is whole: it reaches its end-of-picture mark or its last row
// before its data ends. Needs no image, so a cut stream is refused before one is allocated.
bool isWholeRle(const Header &header, QByteArrayView data);

// Draws a whole RLE8 or RLE4 stream into an ARGB32 image of the header's size, rows from the
// bottom up. Every pixel the stream leaves unset, by a delta or an early end, stays transparent;
// when it sets them all the image turns RGB32. Runs past the end of a row are cut off there.
void drawRle(const Header &header, QByteArrayView data, const Palette &palette, QImage &image);

}  // namespace vantok::bmp
