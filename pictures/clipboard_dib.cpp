// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/clipboard_dib.h"

#include <QtEndian>

namespace vantok
{

namespace
{

constexpr qint64 FileHeaderSize = 14;
constexpr quint32 BitFields = 3;
constexpr quint32 AlphaBitFields = 6;

template<typename T>
T at(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

}  // namespace

QByteArray bmpFileFromDib(const QByteArray &dib)
{
    if (dib.size() < 12)
        return {};
    const quint32 headerSize = at<quint32>(dib, 0);
    if (headerSize != 12 && (headerSize < 16 || headerSize > quint32(dib.size())))
        return {};
    // The pixels follow the header, the masks a 40-byte header leaves out, and the palette.
    const bool core = headerSize == 12;
    const quint16 bits = core ? at<quint16>(dib, 10) : at<quint16>(dib, 14);
    const quint32 compression = headerSize >= 20 ? at<quint32>(dib, 16) : 0;
    const quint32 used = headerSize >= 36 ? at<quint32>(dib, 32) : 0;
    const qint64 colours = used != 0 ? used : (bits <= 8 ? qint64(1) << bits : 0);
    qint64 masks = 0;
    if (headerSize == 40 && compression == BitFields)
        masks = 12;
    if (headerSize == 40 && compression == AlphaBitFields)
        masks = 16;
    const qint64 pixels = FileHeaderSize + headerSize + masks + colours * (core ? 3 : 4);
    const qint64 fileSize = FileHeaderSize + dib.size();
    if (pixels > fileSize)
        return {};

    QByteArray file(FileHeaderSize, '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(quint32(fileSize), file.data() + 2);
    qToLittleEndian<quint32>(quint32(pixels), file.data() + 10);
    return file + dib;
}

}  // namespace vantok
