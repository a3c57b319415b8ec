// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/picture_box.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

#include <vector>

namespace vantok
{

namespace
{

constexpr int BorderWidth = 2;
// Pointer positions arrive as device pixels divided by the ratio; undo the rounding error.
constexpr qreal PointerSlack = 1e-4;

// Pixels of four bytes with alpha turn opaque where they lie.
bool compositesInPlace(const QImage &picture)
{
    return picture.format() == QImage::Format_ARGB32 ||
           picture.format() == QImage::Format_ARGB32_Premultiplied;
}

// Every pixel as drawn: opaque, transparent ones already over the back colour. A 32-bit picture
// no one else holds is composited where it lies, so that a big one is never held twice.
QImage composited(QImage picture, const QColor &back)
{
    if (picture.isNull())
        return {};
    QImage shown;
    if (!picture.hasAlphaChannel()) {
        shown = picture.convertToFormat(QImage::Format_RGB32);
    } else if (compositesInPlace(picture)) {
        QPainter painter(&picture);
        // The back colour goes under every pixel, as drawing the picture over it would.
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
        painter.fillRect(picture.rect(), back);
        painter.end();
        shown = std::move(picture);
        shown.reinterpretAsFormat(QImage::Format_RGB32);
    } else {
        shown = QImage(picture.size(), QImage::Format_RGB32);
        if (shown.isNull())
            return {};
        shown.fill(back);
        QPainter painter(&shown);
        painter.drawImage(0, 0, picture);
    }
    shown.setDevicePixelRatio(1);
    return shown;
}

// The picture pixel whose area holds the centre of device pixel `offset` (counted from the inner
// area's first device pixel). Painting and picking both go through this one rule.
int cellOfDevicePixel(int offset, qreal ratio)
{
    return qFloor((offset + 0.5) / ratio);
}

}  // namespace

PictureBox::PictureBox(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(BorderWidth);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setPicture(QImage picture)
{
    if (!m_designSize.isValid())
        m_designSize = size();
    m_shown = composited(std::move(picture), m_backColor);
    if (m_shown.isNull())
        resize(m_designSize);
    else
        resize(m_shown.size() + QSize(2 * BorderWidth, 2 * BorderWidth));
    update();
}

void PictureBox::setBackColor(const QColor &colour)
{
    m_backColor = colour;
    update();
}

QPoint PictureBox::cellAt(QPointF at) const
{
    const QPointF inner = contentsRect().topLeft();
    const qreal ratio = devicePixelRatioF();
    if (!m_painted) {
        const QPoint offset = mapTo(window(), QPoint());
        m_deviceTransform =
            QTransform::fromTranslate(offset.x(), offset.y()) * QTransform::fromScale(ratio, ratio);
    }
    const QPointF origin = m_deviceTransform.map(inner);
    const QPointF device = m_deviceTransform.map(inner + at);
    const int dx = qFloor(device.x() + PointerSlack) - qRound(origin.x());
    const int dy = qFloor(device.y() + PointerSlack) - qRound(origin.y());
    return {cellOfDevicePixel(dx, ratio), cellOfDevicePixel(dy, ratio)};
}

bool PictureBox::inInnerArea(QPoint cell) const
{
    return cell.x() >= 0 && cell.y() >= 0 && cell.x() < contentsRect().width() &&
           cell.y() < contentsRect().height();
}

ColourValue PictureBox::point(QPointF at) const
{
    const QPoint cell = cellAt(at);
    if (!inInnerArea(cell))
        return NoColour;
    QRgb rgb = m_backColor.rgb();
    if (m_shown.rect().contains(cell))
        rgb = m_shown.pixel(cell);
    return composeColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    drawFrame(&painter);
    m_deviceTransform = painter.deviceTransform();
    m_painted = true;
    const QRect inner = contentsRect();
    const QRect exposed = event->rect() & inner;
    if (exposed.isEmpty())
        return;

    const QPointF origin = m_deviceTransform.map(QPointF(inner.topLeft()));
    if (m_deviceTransform.type() <= QTransform::TxTranslate && origin == origin.toPoint()) {
        // One device pixel per picture pixel: draw the stored pixels as they are.
        painter.fillRect(exposed, m_backColor);
        const QRect source = exposed.translated(-inner.topLeft()) & m_shown.rect();
        if (!source.isEmpty())
            painter.drawImage(source.topLeft() + inner.topLeft(), m_shown, source);
        return;
    }
    paintScaled(painter, exposed);
}

// Scales the exposed part of the inner area by hand, device pixel by device pixel, and blits it
// unscaled at a whole device pixel, so what is drawn is exactly what `cellAt` predicts.
void PictureBox::paintScaled(QPainter &painter, const QRect &exposed) const
{
    const qreal ratio = devicePixelRatioF();
    const QRect inner = contentsRect();
    const QPointF originF = m_deviceTransform.map(QPointF(inner.topLeft()));
    const QPoint origin(qRound(originF.x()), qRound(originF.y()));
    // The device pixels whose centres fall in the inner area's picture pixels.
    const QRect innerDevice(
        origin, QSize(qCeil(inner.width() * ratio - 0.5), qCeil(inner.height() * ratio - 0.5)));
    const QRect target = m_deviceTransform.mapRect(QRectF(exposed)).toAlignedRect() & innerDevice;
    if (target.isEmpty())
        return;

    QImage scaled(target.size(), QImage::Format_RGB32);
    scaled.fill(m_backColor);
    if (!m_shown.isNull()) {
        std::vector<int> columns(target.width());
        for (int i = 0; i < target.width(); ++i)
            columns[i] = cellOfDevicePixel(target.left() + i - origin.x(), ratio);
        for (int row = 0; row < target.height(); ++row) {
            const int y = cellOfDevicePixel(target.top() + row - origin.y(), ratio);
            if (y < 0 || y >= m_shown.height())
                continue;
            const auto *src = reinterpret_cast<const QRgb *>(m_shown.constScanLine(y));
            auto *dst = reinterpret_cast<QRgb *>(scaled.scanLine(row));
            for (int i = 0; i < target.width(); ++i) {
                const int x = columns[i];
                if (x >= 0 && x < m_shown.width())
                    dst[i] = src[x];
            }
        }
    }

    painter.save();
    painter.setTransform(m_deviceTransform.inverted());  // device pixels from here on
    painter.drawImage(target.topLeft(), scaled);
    painter.restore();
}

// On its way from the window to the widget, Qt rounds a press's position to a whole logical pixel,
// which above a ratio of 1 loses the device pixel under the pointer; the scene position, relative
// to the window, keeps it. Events made by hand may set the scene position to the widget position,
// so it is taken only when it agrees with the rounded one.
QPointF PictureBox::pointerPosition(const QMouseEvent &event) const
{
    const QPointF exact = mapFrom(window(), event.scenePosition());
    const QPointF rounding = exact - event.position();
    if (qAbs(rounding.x()) <= 0.5 && qAbs(rounding.y()) <= 0.5)
        return exact;
    return event.position();
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    const QPointF at = pointerPosition(*event) - contentsRect().topLeft();
    if (inInnerArea(cellAt(at)))
        emit mouseDown(at);
    QFrame::mousePressEvent(event);
}

}  // namespace vantok
