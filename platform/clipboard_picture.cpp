// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clipboard_picture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>

namespace vantok
{

QImage clipboardPicture()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasImage())
        return {};
    // Decoding goes through QImageReader, so the allocation limit already holds; the check below
    // covers images handed over already decoded by an in-process owner.
    QImage image = qvariant_cast<QImage>(data->imageData());
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (limit > 0 && image.sizeInBytes() > limit)
        return {};
    return image;
}

}  // namespace vantok
