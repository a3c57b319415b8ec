// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/colour_text.h"

#include "core/colour_name.h"
#include "core/oklab.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vantok
{

namespace
{

// numerator / denominator rounded to a whole number, halves up as CSS rounds; both positive.
int roundedQuotient(int numerator, int denominator)
{
    return (2 * numerator + denominator) / (2 * denominator);
}

// Worked in whole numbers, so that a hue or percent of exactly one half always rounds up.
QString hslText(int r, int g, int b)
{
    const int most = std::max({r, g, b});
    const int least = std::min({r, g, b});
    const int sum = most + least;  // the lightness, doubled, in 255ths
    const int lightness = roundedQuotient(sum * 100, 2 * 255);
    const int spread = most - least;
    if (spread == 0)
        return u"hsl(0, 0%, %1%)"_s.arg(lightness);
    const int saturation = roundedQuotient(spread * 100, std::min(sum, 2 * 255 - sum));
    // The hue in sixths of the circle, times the spread: 0 to 6 from red through green and blue.
    const int sixths = most == r   ? g - b + (g < b ? 6 * spread : 0)
                       : most == g ? b - r + 2 * spread
                                   : r - g + 4 * spread;
    const int hue = roundedQuotient(sixths * 60, spread) % 360;
    return u"hsl(%1, %2%, %3%)"_s.arg(hue).arg(saturation).arg(lightness);
}

QString oklchText(ColourValue colour)
{
    const Oklch lch = oklchOf(colour);
    QString hue = lch.chroma < AchromaticChroma ? u"0"_s : QString::number(lch.hue, 'f', 2);
    if (hue == u"360.00")
        hue = u"0.00"_s;
    return u"oklch(%1% %2 %3)"_s.arg(QString::number(lch.lightness * 100, 'f', 2),
                                     QString::number(lch.chroma, 'f', 4), hue);
}

}  // namespace

QString colourText(ColourValue colour, ColourForm form, double alpha)
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
    case ColourForm::Hsl:
        return hslText(r, g, b);
    case ColourForm::Oklch:
        return oklchText(colour);
    case ColourForm::Name:
        return describeColour(colour).written();
    case ColourForm::RgbaFunction:
        return u"rgba(%1, %2, %3, %4)"_s.arg(r).arg(g).arg(b).arg(QString::number(alpha, 'f', 2));
    }
    return {};
}

}  // namespace vantok
