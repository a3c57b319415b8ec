// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QtGlobal>

namespace vantok
{

// One colour of the chart, each component 0 to 255.
struct ChartColour {
    int red = 0;
    int green = 0;
    int blue = 0;

    // As a 32-bit pixel 0xFFRRGGBB.
    constexpr quint32 pixel() const
    {
        return 0xFF000000u | quint32(red) << 16 | quint32(green) << 8 | quint32(blue);
    }
    static constexpr ChartColour fromPixel(quint32 pixel)
    {
        return {int(pixel >> 16 & 0xFF), int(pixel >> 8 & 0xFF), int(pixel & 0xFF)};
    }
    friend constexpr bool operator==(ChartColour, ChartColour) = default;
};

// The built-in sample chart: 60 hues across that fade towards mid grey in 30 rows down,
// inside a sunken frame. Each channel is dithered to a 16-bit colour level and widened back
// to 8 bits, so picks read exactly what a 16-bit display showed.
class SampleChart
{
public:
    static constexpr int Width = 215;
    static constexpr int Height = 180;
    // Rows are stored top first without padding, so the pixels fit QImage::Format_RGB32.
    static constexpr int BytesPerLine = Width * 4;

    // The colour field inside the frame and its grid of cells.
    static constexpr int FieldLeft = 5;
    static constexpr int FieldTop = 4;
    static constexpr int FieldWidth = 205;
    static constexpr int FieldHeight = 172;
    static constexpr int HueColumns = 60;
    static constexpr int GreyRows = 30;

    static constexpr ChartColour Margin{191, 191, 191};
    static constexpr ChartColour DarkLine{127, 127, 127};
    static constexpr ChartColour LightLine{255, 255, 255};

    // The pixel as 0xFFRRGGBB.
    quint32 pixel(int x, int y) const { return m_pixels.at(y * Width + x); }
    const quint32 *constBits() const { return m_pixels.constData(); }

    // First field column of a hue column; HueColumns gives the end of the field.
    static int hueColumnStart(int hueColumn);
    // First field row of a grey row; GreyRows gives the end of the field.
    static int greyRowStart(int greyRow);
    // The colour every pixel of a cell shares before the dither.
    static ChartColour nominalColour(int hueColumn, int greyRow);
    // What a nominal channel value shows at a dither threshold (0 to 15).
    static int shownRedOrBlue(int nominal, int threshold);
    static int shownGreen(int nominal, int threshold);

private:
    friend SampleChart generateSampleChart();
    SampleChart();

    QList<quint32> m_pixels;
};

SampleChart generateSampleChart();

}  // namespace vantok
