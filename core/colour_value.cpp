// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/colour_value.h"

#include <algorithm>

namespace vantok
{

ColourValue composeColour(int red, int green, int blue)
{
    const auto byte = [](int v) { return std::clamp(v, 0, 255); };
    return byte(red) + 256 * byte(green) + 65536 * byte(blue);
}

}  // namespace vantok
