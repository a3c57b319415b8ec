// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/screen_layout.h"

#include <QtMath>

namespace vantok
{

QList<ScreenPart> partsOfDesktopPicture(const QList<ScreenPlace> &screens, QSize picture)
{
    QRect desktop;
    for (const ScreenPlace &place : screens)
        desktop |= place.geometry;
    QList<ScreenPart> parts;
    if (desktop.isEmpty() || picture.isEmpty())
        return parts;
    const qreal scale = qreal(picture.width()) / desktop.width();
    const auto device = [&](int logical, int origin) { return qRound((logical - origin) * scale); };
    for (const ScreenPlace &place : screens) {
        const QRect &g = place.geometry;
        const QPoint topLeft(device(g.x(), desktop.x()), device(g.y(), desktop.y()));
        const QPoint end(device(g.x() + g.width(), desktop.x()),
                         device(g.y() + g.height(), desktop.y()));
        parts.append({place.screen, QRect(topLeft, end - QPoint(1, 1)) & QRect(QPoint(), picture)});
    }
    return parts;
}

QRect loupePlace(QRect area, QPoint pointer, QSize size, int gap)
{
    int x = pointer.x() + gap;
    if (x + size.width() > area.x() + area.width())
        x = pointer.x() - gap - size.width();
    int y = pointer.y() + gap;
    if (y + size.height() > area.y() + area.height())
        y = pointer.y() - gap - size.height();
    // On a screen too narrow for either side, it keeps clear of the pointer along the other axis.
    x = qBound(area.x(), x, area.x() + area.width() - size.width());
    y = qBound(area.y(), y, area.y() + area.height() - size.height());
    return {QPoint(x, y), size};
}

}  // namespace vantok
