// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/colour_value.h"

#include <QString>

namespace vantok
{

// A colour told in words: the nearest CSS named colour, and its lightness, strength and hue
// family, so that a colour means something to one who cannot tell it by sight.
struct ColourDescription {
    QString name;       // "crimson"
    QString lightness;  // "very dark", "dark", "light", "very light", or empty in the middle
    QString strength;   // "greyish", "strong", or empty in the middle; empty for a grey
    QString family;     // "red", "orange", "yellow", "green", "cyan", "blue", "purple", "pink"
                        // or "grey"

    // "crimson (dark, strong red)", as copied and printed.
    QString written() const;
    // "crimson, dark strong red", as a screen reader says it after the numbers.
    QString spoken() const;
};

ColourDescription describeColour(ColourValue colour);

}  // namespace vantok
