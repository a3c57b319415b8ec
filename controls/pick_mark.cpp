// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/pick_mark.h"

#include "core/picture_view.h"

#include <QKeyEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vantok
{

QPoint markStep(const QKeyEvent &event)
{
    if (!(event.modifiers() & Qt::ShiftModifier))
        return {};
    constexpr int Page = 10;
    switch (event.key()) {
    case Qt::Key_Left:
        return {-1, 0};
    case Qt::Key_Right:
        return {1, 0};
    case Qt::Key_Up:
        return {0, -1};
    case Qt::Key_Down:
        return {0, 1};
    case Qt::Key_PageUp:
        return {0, -Page};
    case Qt::Key_PageDown:
        return {0, Page};
    default:
        return {};
    }
}

void PickMark::clear()
{
    m_cell.reset();
    m_shown = false;
}

void PickMark::moveBy(QPoint cells)
{
    const QPoint moved = cell() + cells;
    const QSize picture = m_view.pictureSize();
    m_cell = QPoint(std::clamp(moved.x(), 0, std::max(0, picture.width() - 1)),
                    std::clamp(moved.y(), 0, std::max(0, picture.height() - 1)));
    m_shown = true;
}

QPoint PickMark::cell() const
{
    const QSize view = m_view.viewSize();
    return m_cell.value_or(m_view.cellOfDevicePixel({view.width() / 2, view.height() / 2}));
}

void PickMark::paint(QPainter &painter, QPoint origin, ColourValue colour) const
{
    const QRect pixel = m_view.devicePixelsOf(cell()).translated(origin);
    const QRect view(origin, m_view.viewSize());
    const bool light = qGray(redOf(colour), greenOf(colour), blueOf(colour)) >= 128;
    const QRegion outline =
        QRegion(pixel.adjusted(-1, -1, 1, 1)).subtracted(pixel).intersected(view);
    for (const QRect &part : outline)
        painter.fillRect(part, light ? Qt::black : Qt::white);
}

QString PickMark::description(ColourValue colour) const
{
    const QPoint at = cell();
    return u"Mark on pixel %1, %2: red %3, green %4, blue %5"_s.arg(at.x())
        .arg(at.y())
        .arg(redOf(colour))
        .arg(greenOf(colour))
        .arg(blueOf(colour));
}

}  // namespace vantok
