// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen_grab/x11_screen_source.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace vantok
{

namespace
{

// A screen's pixels as a 32-bit picture of its own, at one picture pixel per device pixel. The
// pixmap goes first, so that the picture is not shared and nothing below copies it.
QImage screenPicture(QScreen &screen)
{
    QImage picture;
    {
        const QPixmap pixmap = screen.grabWindow(0);
        picture = pixmap.toImage();
    }
    if (picture.format() != QImage::Format_RGB32)
        picture = std::move(picture).convertToFormat(QImage::Format_RGB32);
    picture.setDevicePixelRatio(1);
    return picture;
}

}  // namespace

void X11ScreenSource::grabNow()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    QList<QImage> pictures;
    QSize desktopSize;
    for (QScreen *screen : screens) {
        pictures.append(screenPicture(*screen));
        if (pictures.last().isNull())
            return emit failed(GrabFailure::Failed,
                               u"the X server gave no picture of screen %1"_s.arg(screen->name()));
    }
    if (pictures.isEmpty())
        return emit failed(GrabFailure::Unavailable, u"the X server reports no screen"_s);

    // Each screen's pixels go where its place on the desktop puts them; one screen is the desktop.
    const QList<ScreenPlace> places = screenPlaces();
    QRect desktop;
    for (const ScreenPlace &place : places)
        desktop |= place.geometry;
    const qreal scale = qreal(pictures.first().width()) / places.first().geometry.width();
    QImage picture = pictures.size() == 1
                         ? pictures.first()
                         : QImage((QSizeF(desktop.size()) * scale).toSize(), QImage::Format_RGB32);
    if (picture.isNull())
        return emit failed(GrabFailure::Failed, u"the desktop is too large to hold"_s);
    const QList<ScreenPart> parts = partsOfDesktopPicture(places, picture.size());
    if (pictures.size() > 1) {
        picture.fill(Qt::black);
        QPainter painter(&picture);
        for (qsizetype i = 0; i < pictures.size(); ++i)
            painter.drawImage(parts[i].rect.topLeft(), pictures[i]);
    }
    pictures.clear();
    emit grabbed(picture, parts);
}

}  // namespace vantok
