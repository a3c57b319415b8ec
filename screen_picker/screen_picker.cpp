// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen_picker/screen_picker.h"

#include "screen_picker/frozen_screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace vantok
{

namespace
{

QScreen *screenNamed(const QString &name)
{
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen->name() == name)
            return screen;
    }
    return nullptr;
}

}  // namespace

ScreenPicker::ScreenPicker(const QImage &desktop, const QList<ScreenPart> &parts)
{
    for (const ScreenPart &part : parts) {
        QScreen *screen = screenNamed(part.screen);
        if (!screen || part.rect.isEmpty())
            continue;
        auto *frozen = new FrozenScreen(desktop, part.rect, screen);
        connect(frozen, &FrozenScreen::pointed, this, &ScreenPicker::point);
        connect(frozen, &FrozenScreen::pressed, this, [this](QPoint pixel) {
            point(pixel);
            close();
            emit taken(pixel);
        });
        connect(frozen, &FrozenScreen::keyPressed, this, &ScreenPicker::key);
        // Closed from outside, by the window manager say: the pick ends as Escape ends it.
        connect(frozen, &QObject::destroyed, this, [this] {
            if (m_screens.isEmpty())
                return;
            close();
            emit cancelled();
        });
        m_screens.append(frozen);
    }
}

ScreenPicker::~ScreenPicker()
{
    close();
}

void ScreenPicker::show()
{
    if (m_screens.isEmpty())
        return emit cancelled();
    const QPoint pointer = QCursor::pos();
    FrozenScreen *active = m_screens.first();
    for (FrozenScreen *frozen : std::as_const(m_screens)) {
        frozen->showFullScreen();
        if (frozen->geometry().contains(pointer))
            active = frozen;
    }
    active->activateWindow();
    active->raise();
    active->setFocus();
    // The loupe shows at once where the pointer is, before it first moves.
    const QPointF device = QPointF(active->mapFromGlobal(pointer)) * active->devicePixelRatioF();
    point(active->part().topLeft() + device.toPoint());
}

void ScreenPicker::point(QPoint pixel)
{
    FrozenScreen *target = screenOf(pixel);
    if (!target)
        return;
    m_pixel = pixel;
    for (FrozenScreen *frozen : std::as_const(m_screens)) {
        if (frozen && frozen != target)
            frozen->hideLoupe();
    }
    target->showLoupe(pixel);
}

void ScreenPicker::key(int key, Qt::KeyboardModifiers modifiers)
{
    const int step = modifiers & Qt::ShiftModifier ? 10 : 1;
    QPoint move;
    switch (key) {
    case Qt::Key_Left:
        move = {-step, 0};
        break;
    case Qt::Key_Right:
        move = {step, 0};
        break;
    case Qt::Key_Up:
        move = {0, -step};
        break;
    case Qt::Key_Down:
        move = {0, step};
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: {
        const QPoint pixel = m_pixel;
        close();
        return emit taken(pixel);
    }
    case Qt::Key_Escape:
        close();
        return emit cancelled();
    default:
        return;
    }
    // The keys keep to the screen the pixel is on.
    FrozenScreen *frozen = screenOf(m_pixel);
    if (!frozen)
        return;
    const QRect part = frozen->part();
    const QPoint moved = m_pixel + move;
    const QPoint pixel(qBound(part.left(), moved.x(), part.right()),
                       qBound(part.top(), moved.y(), part.bottom()));
    point(pixel);
    frozen->movePointerTo(pixel);
}

void ScreenPicker::close()
{
    for (FrozenScreen *frozen : std::as_const(m_screens)) {
        if (frozen)
            frozen->close();
    }
    m_screens.clear();
}

FrozenScreen *ScreenPicker::screenOf(QPoint pixel) const
{
    for (FrozenScreen *frozen : m_screens) {
        if (frozen && frozen->part().contains(pixel))
            return frozen;
    }
    return nullptr;
}

}  // namespace vantok
