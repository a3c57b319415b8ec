// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen_picker/frozen_screen.h"

#include "controls/loupe.h"
#include "core/screen_layout.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace vantok
{

namespace
{

// Pointer positions arrive as device pixels divided by the ratio; undo the rounding error.
constexpr qreal PointerSlack = 1e-4;
// Between the pointer and the loupe, in logical pixels.
constexpr int LoupeGap = 24;

}  // namespace

FrozenScreen::FrozenScreen(const QImage &desktop, QRect part, QScreen *screen)
    : m_desktop(desktop), m_part(part), m_loupe(new Loupe(this))
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(u"Pick a colour from the screen"_s);
    setAccessibleName(windowTitle());
    setAccessibleDescription(
        u"The screen, held still. Move the pointer, or the arrow keys by one pixel and with Shift "
        u"by ten, to the colour; a mouse button, Enter or Space takes it, Escape leaves without "
        u"it."_s);
    m_loupe->hide();
    // Placed on its monitor before it shows, so that it opens full screen there.
    setScreen(screen);
    setGeometry(screen->geometry());
}

// The part goes to the window's device pixels unscaled, whatever the ratio.
void FrozenScreen::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const QRect exposed =
        QRectF(QRectF(event->rect()).topLeft() * ratio, QRectF(event->rect()).size() * ratio)
            .toAlignedRect();
    painter.setTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    painter.fillRect(exposed, Qt::black);
    painter.drawImage(exposed.topLeft(), m_desktop, exposed.translated(m_part.topLeft()));
}

// Qt rounds a position to a whole logical pixel on its way to the widget; the window's own
// position, which the scene position is for a window, keeps the fraction.
QPoint FrozenScreen::pixelAt(const QMouseEvent &event) const
{
    const QPointF device = event.scenePosition() * devicePixelRatioF();
    const QPoint inPart(qFloor(device.x() + PointerSlack), qFloor(device.y() + PointerSlack));
    const QPoint last = m_part.bottomRight() - m_part.topLeft();
    return m_part.topLeft() +
           QPoint(qBound(0, inPart.x(), last.x()), qBound(0, inPart.y(), last.y()));
}

QPoint FrozenScreen::logicalOf(QPoint pixel) const
{
    const QPointF device = pixel - m_part.topLeft();
    return (device / devicePixelRatioF()).toPoint();
}

void FrozenScreen::mouseMoveEvent(QMouseEvent *event)
{
    // The pointer the keys moved lands on a whole logical pixel; the keys' pixel stays.
    if (event->globalPosition().toPoint() == m_warpedTo)
        return;
    m_warpedTo = {-1, -1};
    emit pointed(pixelAt(*event));
}

void FrozenScreen::mousePressEvent(QMouseEvent *event)
{
    emit pressed(event->globalPosition().toPoint() == m_warpedTo ? m_keysPixel : pixelAt(*event));
}

void FrozenScreen::keyPressEvent(QKeyEvent *event)
{
    emit keyPressed(event->key(), event->modifiers());
}

void FrozenScreen::showLoupe(QPoint pixel)
{
    if (m_loupe->isVisible() && pixel == m_loupePixel)
        return;  // moves within one device pixel change nothing
    m_loupePixel = pixel;
    m_loupe->showPixel(m_desktop, pixel, pixelLines(pixel, m_desktop.pixel(pixel)));
    m_loupe->setGeometry(loupePlace(rect(), logicalOf(pixel), m_loupe->sizeHint(), LoupeGap));
    m_loupe->show();
}

void FrozenScreen::hideLoupe()
{
    m_loupe->hide();
}

void FrozenScreen::movePointerTo(QPoint pixel)
{
    m_keysPixel = pixel;
    m_warpedTo = mapToGlobal(logicalOf(pixel));
    QCursor::setPos(screen(), m_warpedTo);
}

}  // namespace vantok
