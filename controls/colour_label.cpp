// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/colour_label.h"

#include "core/colour_name.h"

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

    // Setting the description raises the event that tells screen readers it changed. The numbers
    // first, then the colour in words: "red 220, green 20, blue 60; crimson, dark strong red".
    setAccessibleDescription(u"red %1, green %2, blue %3; %4"_s.arg(
        QString::number(redOf(colour)), QString::number(greenOf(colour)),
        QString::number(blueOf(colour)), describeColour(colour).spoken()));
}

}  // namespace vantok
