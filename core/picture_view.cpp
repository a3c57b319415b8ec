// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/picture_view.h"

#include <QtMath>

#include <algorithm>
#include <cmath>
#include <utility>

namespace vantok
{

namespace
{

// Rounding in the zoom arithmetic must not turn an exact fit into one device pixel too many.
constexpr qreal Tolerance = 1e-9;

// The whole factors 1, 2, 3, 4, 6, 8, 12, 16 ... by their place in the series.
qreal wholeFactor(int place)
{
    if (place == 0)
        return 1;
    if (place % 2 == 1)
        return std::ldexp(1.0, (place + 1) / 2);
    return 3 * std::ldexp(1.0, place / 2 - 1);
}

// Zooms in the series: positive places magnify, negative ones shrink by the same factors.
qreal zoomAt(int place)
{
    return place >= 0 ? wholeFactor(place) : 1 / wholeFactor(-place);
}

constexpr int LastPlace = 120;

int cellOf(int device, qreal perCell)
{
    return qFloor((device + 0.5) / perCell);
}

}  // namespace

void PictureView::setPictureSize(QSize size)
{
    m_picture = size;
    m_zoom = 1;
    m_offset = {};
}

void PictureView::setRatio(qreal ratio)
{
    m_ratio = ratio;
    setOffset(m_offset);
}

void PictureView::setViewSize(QSize device)
{
    m_view = device;
    setOffset(m_offset);
}

int PictureView::deviceSpan(qreal length, qreal pixelsPerUnit)
{
    return std::max(0, qCeil(length * pixelsPerUnit - 0.5 - Tolerance));
}

QSize PictureView::contentSize() const
{
    return {deviceSpan(m_picture.width(), devicePerCell()),
            deviceSpan(m_picture.height(), devicePerCell())};
}

QPoint PictureView::maxOffset() const
{
    const QSize content = contentSize();
    return {std::max(0, content.width() - m_view.width()),
            std::max(0, content.height() - m_view.height())};
}

void PictureView::setOffset(QPoint offset)
{
    const QPoint most = maxOffset();
    m_offset = {std::clamp(offset.x(), 0, most.x()), std::clamp(offset.y(), 0, most.y())};
}

void PictureView::setZoom(qreal zoom, QPointF anchor)
{
    const QPointF picturePoint = (anchor + m_offset + QPointF(0.5, 0.5)) / devicePerCell();
    m_zoom = zoom;
    const QPointF offset = picturePoint * devicePerCell() - anchor - QPointF(0.5, 0.5);
    setOffset(offset.toPoint());
}

QPoint PictureView::cellOfDevicePixel(QPoint device) const
{
    const QPoint magnified = device + m_offset;
    return {cellOf(magnified.x(), devicePerCell()), cellOf(magnified.y(), devicePerCell())};
}

QRect PictureView::devicePixelsOf(QPoint cell) const
{
    const qreal perCell = devicePerCell();
    // Device pixels [first, end) have their centres on the cell, as `cellOf` reads them.
    const auto along = [perCell](int cell) {
        const int first = deviceSpan(cell, perCell);
        const int end = deviceSpan(cell + 1, perCell);
        if (end > first)
            return std::pair{first, end - first};
        return std::pair{qFloor((cell + 0.5) * perCell), 1};
    };
    const auto [x, width] = along(cell.x());
    const auto [y, height] = along(cell.y());
    return QRect(x, y, width, height).translated(-m_offset);
}

QPoint PictureView::offsetShowing(QRect device) const
{
    // Right or bottom edge in first, so that the left or top one wins when both cannot show.
    const auto shift = [](int first, int last, int length) {
        const int pastEnd = std::max(0, last - (length - 1));
        return pastEnd + std::min(0, first - pastEnd);
    };
    return m_offset + QPoint(shift(device.left(), device.right(), m_view.width()),
                             shift(device.top(), device.bottom(), m_view.height()));
}

qreal PictureView::zoomedIn(qreal zoom)
{
    for (int place = -LastPlace; place <= LastPlace; ++place) {
        const qreal next = zoomAt(place);
        if (next > zoom * (1 + Tolerance))
            return std::min(next, MaxZoom);
    }
    return MaxZoom;
}

qreal PictureView::zoomedOut(qreal zoom, qreal minimum)
{
    for (int place = LastPlace; place >= -LastPlace; --place) {
        const qreal next = zoomAt(place);
        if (next < zoom * (1 - Tolerance))
            return std::max(next, std::min(minimum, zoom));
    }
    return std::min(minimum, zoom);
}

}  // namespace vantok
