// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/colour_value.h"

#include <QString>

namespace vantok
{

// The forms a colour is copied and printed in.
enum class ColourForm {
    Hash,          // #RRGGBB, upper-case hexadecimal
    RgbFunction,   // rgb(R, G, B)
    Components,    // R, G, B
    Hsl,           // hsl(H, S%, L%): whole degrees and percents, halves rounded up, as CSS does
    Oklch,         // oklch(L% C H): L in percent to 2 decimals, C to 4, H in degrees to 2
    Name,          // the nearest named colour and its words, "crimson (dark, strong red)"
    RgbaFunction,  // rgba(R, G, B, A), A from 0 to 1 to 2 decimals
};

// The forms of an opaque colour, in the order the swatch's menu offers them.
inline constexpr ColourForm ColourForms[]{ColourForm::Hash,       ColourForm::RgbFunction,
                                          ColourForm::Components, ColourForm::Hsl,
                                          ColourForm::Oklch,      ColourForm::Name};

// The colour in `form`; `alpha`, from 0 to 1, counts only in the rgba() form. A grey, which has
// no hue, is written with hue 0 in hsl() and oklch().
QString colourText(ColourValue colour, ColourForm form, double alpha = 1);

}  // namespace vantok
