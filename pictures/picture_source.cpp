// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/picture_source.h"

#include "pictures/clipboard_picture.h"
#include "pictures/picture_loader.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace vantok
{

namespace
{

bool holdsImageData(const QMimeData &data)
{
    const QStringList formats = data.formats();
    return formats.contains(QLatin1StringView("application/x-qt-image")) ||
           std::ranges::any_of(formats, [](const QString &format) {
               return format.startsWith(QLatin1StringView("image/"));
           });
}

}  // namespace

PictureSource PictureSource::file(const QString &fileName)
{
    PictureSource source;
    source.m_fileName = fileName;
    return source;
}

PictureSource PictureSource::dragged(const QMimeData &data)
{
    PictureSource source;
    const QList<QUrl> urls = data.urls();
    if (urls.isEmpty()) {
        if (holdsImageData(data))
            source.m_imageData = &data;
        return source;
    }
    const QUrl &first = urls.constFirst();
    if (first.isLocalFile() && !QFileInfo(first.toLocalFile()).isDir())
        source.m_fileName = first.toLocalFile();
    return source;
}

QImage PictureSource::load() const
{
    if (m_imageData)
        return clipboardPicture(m_imageData);  // the same decoding as "PASTE"
    if (m_fileName.isEmpty())
        return {};
    return loadPicture(m_fileName);
}

}  // namespace vantok
