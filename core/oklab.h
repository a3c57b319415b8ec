// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/colour_value.h"

namespace vantok
{

// A colour in OKLab: lightness 0 to 1, and two opposing axes, green to red and blue to yellow.
struct Oklab {
    double lightness;
    double a;
    double b;
};

// The same in polar form: lightness, chroma and hue in degrees, 0 to below 360.
struct Oklch {
    double lightness;
    double chroma;
    double hue;
};

// Below this chroma a colour counts as grey and its hue means nothing, as in CSS.
inline constexpr double AchromaticChroma = 0.000004;

// A colour's red, green and blue, as sRGB, in OKLab and OKLCH, computed as CSS Color 4 does.
Oklab oklabOf(ColourValue colour);
Oklch oklchOf(ColourValue colour);

// How far apart two colours look: their distance in OKLab.
double oklabDistance(const Oklab &one, const Oklab &other);

}  // namespace vantok
