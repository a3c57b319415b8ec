// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pixel_report.h"

#include "pictures/picture_loader.h"
#include "pictures/picture_source.h"

#include <QColor>
#include <QImage>

#include <cstdio>

namespace vantok
{

int reportPixels(const PixelRequest &request)
{
    // The windows' own loader, so that formats, the size limit and the reasons are theirs.
    const PictureSource source = PictureSource::file(request.picture);
    const PictureLoad read = source.load();
    if (!read.isLoaded()) {
        source.reportRefusal(read);
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
