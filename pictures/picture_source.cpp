// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/picture_source.h"

#include "pictures/clipboard_picture.h"
#include "pictures/picture_loader.h"

#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

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

PictureSource PictureSource::file(const FileName &fileName)
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
    if (!first.isLocalFile())
        return source;
    const FileName fileName = FileName::fromLocalFileUrl(first);
    if (!namesFolder(fileName))
        source.m_fileName = fileName;
    return source;
}

PictureLoad PictureSource::load() const
{
    if (m_imageData) {
        QImage picture = clipboardPicture(m_imageData);  // the same decoding as "PASTE"
        if (picture.isNull())
            return PictureLoad::refused(Refusal::NotAPicture);
        return PictureLoad::loaded(std::move(picture));
    }
    if (m_fileName.isEmpty())
        return PictureLoad::refused(Refusal::NoSuchFile);
    return tryLoadPicture(m_fileName);
}

void PictureSource::reportRefusal(const PictureLoad &load) const
{
    const QString what =
        m_imageData ? u"the dropped picture"_s : u"\"%1\""_s.arg(m_fileName.shownText());
    std::fprintf(stderr, "vantok: cannot load %s: %s\n", qPrintable(what),
                 qPrintable(load.reason()));
}

}  // namespace vantok
