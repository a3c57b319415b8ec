// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the picture fuzz targets do with one input, shared with the unit test that replays the
// inputs kept in tests/regressions/. Each returns what broke, or nothing; memory faults are left
// to the sanitizers. applyPictureSizeLimit() must have been called, as the program does at start.

#include "pictures/clipboard_picture.h"
#include "pictures/picture_loader.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QString>

#include <optional>

namespace vantok::fuzz
{

inline std::optional<QString> brokenPicture(const QImage &picture, const char *path)
{
    if (!picture.isNull() && !fitsPictureSizeLimit(picture.size()))
        return QStringLiteral("%1 gave a %2 x %3 picture, over the size limit")
            .arg(QLatin1StringView(path))
            .arg(picture.width())
            .arg(picture.height());
    return std::nullopt;
}

// One of the program's own readers alone, asked for by name as a file with its extension would be:
// the size it announces before reading must be the size it reads.
inline std::optional<QString> brokenReadAs(QByteArrayView bytes, const char *format,
                                           const char *readerName)
{
    const QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize announced = reader.size();
    const QImage picture = reader.read();
    if (!picture.isNull() && announced.isValid() && picture.size() != announced)
        return QStringLiteral("%1 announced %2 x %3 but read %4 x %5")
            .arg(QLatin1StringView(readerName))
            .arg(announced.width())
            .arg(announced.height())
            .arg(picture.width())
            .arg(picture.height());
    return brokenPicture(picture, readerName);
}

inline std::optional<QString> brokenPcxRead(QByteArrayView bytes)
{
    return brokenReadAs(bytes, "pcx", "the PCX reader");
}

inline std::optional<QString> brokenBmpRead(QByteArrayView bytes)
{
    return brokenReadAs(bytes, "bmp", "the BMP reader");
}

// Every way the program decodes bytes: the picture loader the chooser uses, by content, and
// the clipboard path "PASTE" takes with the same bytes.
inline std::optional<QString> brokenPictureLoad(QByteArrayView bytes)
{
    const QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    if (auto broken = brokenPicture(loadPicture(buffer), "the picture loader"))
        return broken;
    // "PASTE" with the same bytes offered as an encoded picture on the clipboard.
    QMimeData clipboard;
    clipboard.setData(QStringLiteral("image/png"), data);
    return brokenPicture(clipboardPicture(&clipboard), "the clipboard path");
}

}  // namespace vantok::fuzz
