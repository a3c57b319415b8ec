// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/colour_label.h"

namespace vantok
{

ColourLabel::ColourLabel(const QString &caption, QWidget *parent) : QLabel(caption, parent)
{
    setAutoFillBackground(true);
}

void ColourLabel::setBackColor(ColourValue colour)
{
    // A pick and every keystroke repaint the swatch; an unchanged colour costs no palette update.
    if (colour == m_backColor)
        return;
    m_backColor = colour;
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(redOf(colour), greenOf(colour), blueOf(colour)));
    setPalette(p);
}

}  // namespace vantok
