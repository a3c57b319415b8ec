// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

class QIODevice;

namespace vantok
{

// PNG files of 16-bit red, green and blue samples. When a tRNS chunk names one of their colours
// transparent, Qt 6.4's PNG reader lays the pixels out as if each had a fourth sample, and shows
// stripes of wrong colours. It reads the same file without that chunk exactly; so the chunk is
// left out of the bytes (each chunk carries its own CRC, so the rest stays valid) and the pixels
// of its colour are made transparent after decoding.

// Whether the device, at its position, starts such a file with a tRNS chunk; reads nothing. One
// whose first chunks are too long to look through counts as one, since reading it here only costs
// the file's bytes held while it is decoded.
bool isColourKeyedSixteenBitPng(QIODevice &device);

// Reads it from the device's position, as far as its end chunk. A null image when it is over the
// picture size limit (checked before anything is read) or Qt's reader refuses it.
QImage readColourKeyedSixteenBitPng(QIODevice &device);

}  // namespace vantok
