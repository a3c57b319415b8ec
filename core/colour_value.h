// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace vantok
{

// A colour as one signed 32-bit number: red in bits 0-7, green 8-15, blue 16-23.
// Reading a point outside a picture gives NoColour (-1), whose bytes are all 255.
using ColourValue = qint32;
inline constexpr ColourValue NoColour = -1;

constexpr int redOf(ColourValue c)
{
    return c & 0xFF;
}
constexpr int greenOf(ColourValue c)
{
    return (c >> 8) & 0xFF;
}
constexpr int blueOf(ColourValue c)
{
    return (c >> 16) & 0xFF;
}

// Composes a colour value from three components; each is first limited to 0..255.
ColourValue composeColour(int red, int green, int blue);

}  // namespace vantok
