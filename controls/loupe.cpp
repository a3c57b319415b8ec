// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/loupe.h"

#include "core/colour_text.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace vantok
{

namespace
{

constexpr int Border = 1;
constexpr int TextMargin = 4;
const QColor Outside(64, 64, 64);

}  // namespace

QStringList pixelLines(QPoint at, QRgb colour)
{
    const ColourValue value = composeColour(qRed(colour), qGreen(colour), qBlue(colour));
    return {u"%1, %2"_s.arg(at.x()).arg(at.y()), colourText(value, ColourForm::Hash),
            colourText(value, ColourForm::Components)};
}

QStringList storedPixelLines(QPoint at, QRgb drawn, QRgb stored)
{
    QStringList lines = pixelLines(at, drawn);
    if (qAlpha(stored) < 255) {
        lines.append(
            u"stored %1, %2, %3"_s.arg(qRed(stored)).arg(qGreen(stored)).arg(qBlue(stored)));
        lines.append(u"alpha %1"_s.arg(qAlpha(stored)));
    }
    return lines;
}

Loupe::Loupe(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    resize(sizeHint());
}

int Loupe::textHeight() const
{
    return MostLines * fontMetrics().lineSpacing() + 2 * TextMargin;
}

QSize Loupe::sizeHint() const
{
    const int side = Span * Cell + 2 * Border;
    return {side, side + textHeight()};
}

void Loupe::showPixel(const QImage &picture, QPoint pixel, const QStringList &lines,
                      const QColor &back)
{
    m_picture = picture;
    m_pixel = pixel;
    m_lines = lines;
    m_back = back;
    update();
}

void Loupe::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QPoint first = m_pixel - QPoint(Span / 2, Span / 2);
    for (int row = 0; row < Span; ++row) {
        for (int column = 0; column < Span; ++column) {
            const QPoint at = first + QPoint(column, row);
            const QRect cell(Border + column * Cell, Border + row * Cell, Cell, Cell);
            if (!m_picture.rect().contains(at)) {
                painter.fillRect(cell, Outside);
                continue;
            }
            const QColor colour = QColor::fromRgba(m_picture.pixel(at));
            if (colour.alpha() < 255)
                painter.fillRect(cell, m_back);
            painter.fillRect(cell, colour);
        }
    }
    // The told pixel keeps its whole square: white and black rings go round it, over neighbours.
    const QRect told(Border + (Span / 2) * Cell, Border + (Span / 2) * Cell, Cell, Cell);
    painter.setPen(Qt::white);
    painter.drawRect(told.adjusted(-1, -1, 0, 0));
    painter.setPen(Qt::black);
    painter.drawRect(told.adjusted(-2, -2, 1, 1));

    painter.setPen(Qt::white);
    const QRect text(TextMargin, Span * Cell + 2 * Border + TextMargin, width() - 2 * TextMargin,
                     textHeight() - 2 * TextMargin);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignTop, m_lines.join(u'\n'));
}

}  // namespace vantok
