// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/colour_value.h"

#include <QString>

namespace vantok
{

// The forms a colour is copied in.
enum class ColourForm {
    Hash,         // #RRGGBB, upper-case hexadecimal
    RgbFunction,  // rgb(R, G, B)
    Components,   // R, G, B
};

inline constexpr ColourForm ColourForms[]{ColourForm::Hash, ColourForm::RgbFunction,
                                          ColourForm::Components};

// The colour's red, green and blue in `form`, in decimal unless the form is hexadecimal.
QString colourText(ColourValue colour, ColourForm form);

}  // namespace vantok
