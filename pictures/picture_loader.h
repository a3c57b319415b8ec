// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/file_name.h"

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

// Why a picture was not loaded.
enum class Refusal { None, NoSuchFile, NotReadable, Folder, NotAPicture, TooLarge, CutShort };

// A load's outcome: the picture, or why there is none.
struct PictureLoad {
    QImage picture;  // null when refused
    Refusal refusal = Refusal::None;
    QSize size;  // the picture's size, when it is too large

    static PictureLoad loaded(QImage picture) { return {std::move(picture), Refusal::None, {}}; }
    static PictureLoad refused(Refusal refusal, QSize size = {}) { return {{}, refusal, size}; }

    bool isLoaded() const { return refusal == Refusal::None; }
    // Why it was refused, in one short lowercase line ("the file is cut short"); empty when loaded.
    QString reason() const;
};

// Reads a picture file by its content, whatever its name ends in, in any format an installed
// decoder reads (PCX included) except ICNS, whose decoder is not safe on damaged files. An icon
// file gives its largest image. Colours come as stored, without colour-space conversion. Refused,
// with the reason: a missing file, an unreadable one, a folder, a FIFO, socket or device (never
// opened, so never waited on), a file no decoder recognises or its decoder finds damaged, a
// picture over the limit (before it is decoded), and a file that ends before its data does (see
// cut_short.h), which is never shown as far as it goes.
PictureLoad tryLoadPicture(const FileName &fileName);
// The same from an open device, read from its current position. Only a random-access device is
// checked for a cut end.
PictureLoad tryLoadPicture(QIODevice &device);
// The picture alone: a null image when refused.
QImage loadPicture(const FileName &fileName);
QImage loadPicture(QIODevice &device);

// Whether the name is that of a folder, or a link to one.
bool namesFolder(const FileName &fileName);

}  // namespace vantok
