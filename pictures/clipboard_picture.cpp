// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/clipboard_picture.h"

#include "pictures/clipboard_dib.h"
#include "pictures/picture_loader.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vantok
{

namespace
{

QImage loadBytes(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return loadPicture(buffer);
}

#ifdef Q_OS_WIN
// The clipboard's CF_DIB as it holds it; empty when it has none.
QByteArray clipboardDib()
{
    QByteArray bytes;
    if (!OpenClipboard(nullptr))
        return bytes;
    if (HANDLE handle = GetClipboardData(CF_DIB)) {
        if (const void *data = GlobalLock(handle)) {
            bytes = QByteArray(static_cast<const char *>(data), qsizetype(GlobalSize(handle)));
            GlobalUnlock(handle);
        }
    }
    CloseClipboard();
    return bytes;
}
#endif

// The picture in clipboard content; `decoded` reads one offered only decoded.
template<typename Decoded>
QImage pictureIn(const QMimeData *data, Decoded decoded)
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
        const QImage picture = loadBytes(data->data(format));
        if (!picture.isNull())
            return picture;
    }
    // Encoded pictures that the loader refused are not handed to Qt's decoders a second time.
    if (offeredEncoded || !formats.contains(QLatin1StringView("application/x-qt-image")))
        return {};
    const QImage picture = decoded();
    return fitsPictureSizeLimit(picture.size()) ? picture : QImage();
}

QImage decodedByQt(const QMimeData *data)
{
    return qvariant_cast<QImage>(data->imageData());
}

}  // namespace

QImage clipboardPicture()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return pictureIn(data, [data] {
#ifdef Q_OS_WIN
        // CF_DIB goes to the loader as a BMP file: Qt reads it through a CF_DIBV5 made from it,
        // which can come back empty (under Wine it does).
        QImage picture = loadBytes(bmpFileFromDib(clipboardDib()));
        if (!picture.isNull())
            return picture;
#endif
        return decodedByQt(data);
    });
}

QImage clipboardPicture(const QMimeData *data)
{
    return pictureIn(data, [data] { return decodedByQt(data); });
}

}  // namespace vantok
