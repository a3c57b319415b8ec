// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/colour_label.h"

using namespace Qt::StringLiterals;

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

    // Setting the description raises the event that tells screen readers it changed.
    setAccessibleDescription(
        u"red %1, green %2, blue %3"_s.arg(redOf(colour)).arg(greenOf(colour)).arg(blueOf(colour)));
}

}  // namespace vantok
