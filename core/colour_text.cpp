// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/colour_text.h"

using namespace Qt::StringLiterals;

namespace vantok
{

QString colourText(ColourValue colour, ColourForm form)
{
    const int r = redOf(colour);
    const int g = greenOf(colour);
    const int b = blueOf(colour);
    switch (form) {
    case ColourForm::Hash:
        return u"#%1"_s.arg((r << 16) | (g << 8) | b, 6, 16, QChar(u'0')).toUpper();
    case ColourForm::RgbFunction:
        return u"rgb(%1, %2, %3)"_s.arg(r).arg(g).arg(b);
    case ColourForm::Components:
        return u"%1, %2, %3"_s.arg(r).arg(g).arg(b);
    }
    return {};
}

}  // namespace vantok
