// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

namespace vantok
{

// The largest picture the program takes in, from a file or the clipboard. 512 MiB admits a
// 100-megapixel picture held as 32-bit pixels (400 MB), the form the picture box shows.
inline constexpr int PictureSizeLimitMiB = 512;

// Sets the limit for every QImageReader in the process; the program calls it once at start.
void applyPictureSizeLimit();

// Whether a picture of `size` fits under the limit once held as 32-bit pixels. An unknown size
// fits: the decoder itself then refuses an allocation over the limit.
bool fitsPictureSizeLimit(QSize size);

// Reads a picture file by its content, whatever its name ends in, in any format an installed
// decoder reads (PCX included) except ICNS, whose decoder is not safe on damaged files. An icon
// file gives its largest image. Any failure gives a null image: a missing file, a folder, a FIFO,
// socket or device (never opened, so never waited on), a file no decoder recognises, one its
// decoder reports damaged or cut short, a BMP that ends before its last row, a picture over the
// limit. A GIF or JPEG that ends early shows as far as it goes, the rest filled by its decoder.
// Colours come as stored, without colour-space conversion.
QImage loadPicture(const QString &fileName);
// The same from an open device, read from its current position.
QImage loadPicture(QIODevice &device);

}  // namespace vantok
