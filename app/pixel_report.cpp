// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pixel_report.h"

#include "pictures/picture_loader.h"

#include <QColor>
#include <QFileInfo>
#include <QImage>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace vantok
{

namespace
{

struct ReadPicture {
    QImage picture;
    QString whyNot;  // when the picture is null
};

// The picture through the windows' own loader, or why it cannot be read, told from what the file
// is when the loader says nothing.
ReadPicture readPicture(const QString &fileName)
{
    QImage picture = loadPicture(fileName);
    if (!picture.isNull())
        return {std::move(picture), {}};
    const QFileInfo file(fileName);
    if (!file.exists())
        return {{}, u"no such file"_s};
    if (file.isDir())
        return {{}, u"a folder"_s};
    if (!file.isReadable())
        return {{}, u"not readable"_s};
    return {{}, u"not a picture Vantok reads"_s};
}

}  // namespace

int reportPixels(const PixelRequest &request)
{
    const ReadPicture read = readPicture(request.picture);
    if (read.picture.isNull()) {
        std::fprintf(stderr, "vantok: cannot read \"%s\": %s\n", qPrintable(request.picture),
                     qPrintable(read.whyNot));
        return 1;
    }
    int status = 0;
    for (const QPoint at : request.pixels) {
        if (!read.picture.rect().contains(at)) {
            std::fprintf(stderr, "vantok: pixel %d,%d is outside \"%s\" (%d by %d pixels)\n",
                         at.x(), at.y(), qPrintable(request.picture), read.picture.width(),
                         read.picture.height());
            status = 1;
            continue;
        }
        const QColor stored = read.picture.pixelColor(at);
        const ColourValue colour = composeColour(stored.red(), stored.green(), stored.blue());
        std::printf("%s\n", qPrintable(colourText(colour, request.form, stored.alphaF())));
    }
    return status;
}

}  // namespace vantok
