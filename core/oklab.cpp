// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/oklab.h"

#include <array>
#include <cmath>
#include <numbers>

namespace vantok
{

namespace
{

using Vector = std::array<double, 3>;
using Matrix = std::array<Vector, 3>;

// The matrices as CSS Color 4 prints them: linear sRGB to XYZ (D65), XYZ to the cone responses
// LMS, and the cube roots of those to OKLab.
constexpr Matrix LinearSrgbToXyz{{
    {506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
    {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
    {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270},
}};
constexpr Matrix XyzToLms{{
    {0.8190224379967030, 0.3619062600528904, -0.1288737815209879},
    {0.0329836539323885, 0.9292868615863434, 0.0361446663506424},
    {0.0481771893596242, 0.2642395317527308, 0.6335478284694309},
}};
constexpr Matrix LmsToOklab{{
    {0.2104542683093140, 0.7936177747023054, -0.0040720430116193},
    {1.9779985324311684, -2.4285922420485799, 0.4505937096174110},
    {0.0259040424655478, 0.7827717124575296, -0.8086757549230774},
}};

Vector times(const Matrix &m, const Vector &v)
{
    Vector product{};
    for (std::size_t row = 0; row < 3; ++row)
        product[row] = m[row][0] * v[0] + m[row][1] * v[1] + m[row][2] * v[2];
    return product;
}

// The sRGB transfer undone: a component 0 to 255 as linear light 0 to 1.
double linearLight(int component)
{
    const double v = component / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

}  // namespace

Oklab oklabOf(ColourValue colour)
{
    const Vector linear{linearLight(redOf(colour)), linearLight(greenOf(colour)),
                        linearLight(blueOf(colour))};
    Vector lms = times(XyzToLms, times(LinearSrgbToXyz, linear));
    for (double &response : lms)
        response = std::cbrt(response);
    const Vector lab = times(LmsToOklab, lms);
    return {lab[0], lab[1], lab[2]};
}

Oklch oklchOf(ColourValue colour)
{
    const Oklab lab = oklabOf(colour);
    const double chroma = std::hypot(lab.a, lab.b);
    if (chroma < AchromaticChroma)
        return {lab.lightness, chroma, 0};
    const double hue = std::atan2(lab.b, lab.a) * 180 / std::numbers::pi;
    return {lab.lightness, chroma, hue < 0 ? hue + 360 : hue};
}

double oklabDistance(const Oklab &one, const Oklab &other)
{
    return std::hypot(one.lightness - other.lightness, one.a - other.a, one.b - other.b);
}

}  // namespace vantok
