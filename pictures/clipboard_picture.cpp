// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/clipboard_picture.h"

#include "pictures/picture_loader.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace vantok
{

QImage clipboardPicture()
{
    return clipboardPicture(QGuiApplication::clipboard()->mimeData());
}

QImage clipboardPicture(const QMimeData *data)
{
    if (!data)
        return {};
    // The formats are asked for once: an owner that stopped answering makes every question wait
    // out the platform's timeout, and hasImage() asks once for each format Qt decodes (twenty
    // questions, a hundred seconds on X11).
    const QStringList formats = data->formats();
    bool offeredEncoded = false;
    for (const QString &format : formats) {
        if (!format.startsWith(QLatin1StringView("image/")))
            continue;
        offeredEncoded = true;
        QByteArray bytes = data->data(format);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const QImage picture = loadPicture(buffer);
        if (!picture.isNull())
            return picture;
    }
    // Encoded pictures that the loader refused are not handed to Qt's decoders a second time.
    if (offeredEncoded || !formats.contains(QLatin1StringView("application/x-qt-image")))
        return {};
    const QImage picture = qvariant_cast<QImage>(data->imageData());
    return fitsPictureSizeLimit(picture.size()) ? picture : QImage();
}

}  // namespace vantok
