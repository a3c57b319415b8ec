// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/picture_loupe.h"

#include "controls/loupe.h"
#include "core/screen_layout.h"

#include <QGuiApplication>
#include <QScreen>

namespace vantok
{

namespace
{

// Between the pointer and the loupe, in logical pixels.
constexpr int LoupeGap = 24;

}  // namespace

PictureLoupe::PictureLoupe(QWidget *box) : m_loupe(new Loupe(box))
{
    m_loupe->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    m_loupe->setAccessibleName(QStringLiteral("Loupe"));
}

void PictureLoupe::show(const QImage &picture, QPoint cell, QRgb drawn, const QColor &back,
                        QPoint pointer)
{
    const QRgb stored = picture.rect().contains(cell) ? picture.pixel(cell) : drawn;
    const QStringList lines = storedPixelLines(cell, drawn, stored);
    m_loupe->showPixel(picture, cell, lines, back);
    m_loupe->setAccessibleDescription(lines.join(QStringLiteral("; ")));
    const QScreen *screen = QGuiApplication::screenAt(pointer);
    const QRect area = screen ? screen->geometry() : QRect(pointer, m_loupe->sizeHint());
    m_loupe->setGeometry(loupePlace(area, pointer, m_loupe->sizeHint(), LoupeGap));
    m_loupe->show();
}

void PictureLoupe::hide()
{
    m_loupe->hide();
}

}  // namespace vantok
