// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

class QIODevice;

namespace vantok
{

// Whether a picture file ends before its data does. Qt's JPEG reader makes up what is missing
// with no more than a warning, its GIF reader shows a cut GIF as far as it goes, and its PNG
// reader does without the end chunk's checksum; the readers that refuse a cut file cannot say
// why. So the loader asks here before a reader shows a file, and after a reader refused one.

// Whether the file on `device`, from `start`, ends before its data does, in a format whose end the
// program knows: JPEG, PNG, GIF, BMP, PCX, ICO and CUR. False for any other format, for bytes that
// are damaged rather than cut, and on a sequential device, which cannot be read twice. Leaves the
// device where it was.
bool endsCutShort(QIODevice &device, qint64 start, QByteArrayView format);

// Whether the reader of `format` may show a cut file as if it were whole, so that the loader checks
// before it reads: Qt's JPEG, PNG and GIF readers, and the BMP reader for the JPEG or PNG a BMP
// may hold. The other checks only name the reason when a reader refused a file: the PCX one
// counts every run of the pixel data, as its reader does.
bool readerMayShowCutFile(QByteArrayView format);

}  // namespace vantok
