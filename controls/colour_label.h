// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/colour_value.h"

#include <QLabel>

namespace vantok
{

// A label whose back colour is set as a colour value; used as the colour swatch. Its accessible
// description tells the colour in numbers and in words, and each change is announced to screen
// readers.
class ColourLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ColourLabel(const QString &caption, QWidget *parent = nullptr);

    void setBackColor(ColourValue colour);
    ColourValue backColor() const { return m_backColor; }

private:
    ColourValue m_backColor = NoColour;  // none set yet: the first setting always applies
};

}  // namespace vantok
