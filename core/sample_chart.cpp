// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sample_chart.h"

#include <algorithm>
#include <array>

namespace vantok
{

namespace
{

constexpr int hueColumnStartOf(int hueColumn)
{
    return (41 * hueColumn + 6) / 12;  // 205 * i / 60, halves rounded up
}

constexpr int greyRowStartOf(int greyRow)
{
    return SampleChart::FieldHeight * greyRow / SampleChart::GreyRows;
}

// Hue 4 * i, lightness 120 and saturation 240 - 8 * j on the 0..240 scale, in whole numbers.
constexpr ChartColour nominalColourOf(int hueColumn, int greyRow)
{
    const int low = 4 * greyRow;
    const int high = 240 - 4 * greyRow;
    const auto channel = [=](int hueOffset) {
        const int p = (4 * hueColumn + hueOffset) % 240;
        int level = low;
        if (p < 40)
            level = low + ((high - low) * p + 20) / 40;
        else if (p < 120)
            level = high;
        else if (p < 160)
            level = low + ((high - low) * (160 - p) + 20) / 40;
        return (255 * level + 120) / 240;
    };
    return {channel(80), channel(0), channel(160)};
}

constexpr int floorDivide(int dividend, int divisor)
{
    return dividend >= 0 ? dividend / divisor : -((-dividend + divisor - 1) / divisor);
}

// Values the chart never holds are kept within range.
constexpr int redOrBlueLevel(int nominal, int threshold)
{
    switch (nominal) {
    case 0:
        return 0;
    case 4:
        return threshold < 8 ? 1 : 0;
    case 9:
    case 13:
        return 1;
    case 255:
        return 31;
    }
    return std::clamp(floorDivide(nominal - 1 - threshold / 2, 8), 0, 31);
}

constexpr int greenLevel(int nominal, int threshold)
{
    switch (nominal) {
    case 0:
        return 0;
    case 4:
        return 1;
    case 255:
        return 63;
    }
    return std::clamp(floorDivide(nominal - 1 - threshold / 4, 4), 0, 63);
}

constexpr int widenedRedOrBlue(int level)
{
    return 8 * level + (level % 2 == 1 ? 7 : 0);
}

constexpr int widenedGreen(int level)
{
    return 4 * level + (level % 2 == 1 ? 3 : 0);
}

constexpr int DitherMatrix[4][4] = {
    {0, 12, 3, 15},
    {8, 4, 11, 7},
    {2, 14, 1, 13},
    {10, 6, 9, 5},
};

using ShownTable = std::array<std::array<quint8, 16>, 256>;

template<typename ShownOf>
constexpr ShownTable shownTable(ShownOf shownOf)
{
    ShownTable table{};
    for (int nominal = 0; nominal < 256; ++nominal)
        for (int threshold = 0; threshold < 16; ++threshold)
            table[nominal][threshold] = quint8(shownOf(nominal, threshold));
    return table;
}

// Everything the field loop looks up is worked out by the compiler.
constexpr ShownTable ShownRedOrBlue =
    shownTable([](int v, int t) { return widenedRedOrBlue(redOrBlueLevel(v, t)); });
constexpr ShownTable ShownGreen =
    shownTable([](int v, int t) { return widenedGreen(greenLevel(v, t)); });

struct NominalCell {
    quint8 red, green, blue;
};

constexpr auto NominalCells = [] {
    std::array<std::array<NominalCell, SampleChart::HueColumns>, SampleChart::GreyRows> cells{};
    for (int j = 0; j < SampleChart::GreyRows; ++j)
        for (int i = 0; i < SampleChart::HueColumns; ++i) {
            const ChartColour c = nominalColourOf(i, j);
            cells[j][i] = {quint8(c.red), quint8(c.green), quint8(c.blue)};
        }
    return cells;
}();

constexpr auto HueColumnOf = [] {
    std::array<quint8, SampleChart::FieldWidth> columns{};
    for (int i = 0; i < SampleChart::HueColumns; ++i)
        for (int fx = hueColumnStartOf(i); fx < hueColumnStartOf(i + 1); ++fx)
            columns[fx] = quint8(i);
    return columns;
}();

constexpr auto GreyRowOf = [] {
    std::array<quint8, SampleChart::FieldHeight> rows{};
    for (int j = 0; j < SampleChart::GreyRows; ++j)
        for (int fy = greyRowStartOf(j); fy < greyRowStartOf(j + 1); ++fy)
            rows[fy] = quint8(j);
    return rows;
}();

void fillRow(QList<quint32> &pixels, int y, int fromX, int toX, quint32 pixel)
{
    std::fill(pixels.begin() + y * SampleChart::Width + fromX,
              pixels.begin() + y * SampleChart::Width + toX + 1, pixel);
}

void fillColumn(QList<quint32> &pixels, int x, int fromY, int toY, quint32 pixel)
{
    for (int y = fromY; y <= toY; ++y)
        pixels[y * SampleChart::Width + x] = pixel;
}

}  // namespace

int SampleChart::hueColumnStart(int hueColumn)
{
    return hueColumnStartOf(hueColumn);
}

int SampleChart::greyRowStart(int greyRow)
{
    return greyRowStartOf(greyRow);
}

ChartColour SampleChart::nominalColour(int hueColumn, int greyRow)
{
    return nominalColourOf(hueColumn, greyRow);
}

int SampleChart::shownRedOrBlue(int nominal, int threshold)
{
    return ShownRedOrBlue.at(nominal).at(threshold);
}

int SampleChart::shownGreen(int nominal, int threshold)
{
    return ShownGreen.at(nominal).at(threshold);
}

SampleChart::SampleChart() : m_pixels(Width * Height, Margin.pixel()) {}

SampleChart generateSampleChart()
{
    using Chart = SampleChart;
    SampleChart chart;
    QList<quint32> &pixels = chart.m_pixels;

    // A sunken edge: the light line is drawn last so it takes the two shared corners.
    fillRow(pixels, Chart::FieldTop - 1, Chart::FieldLeft - 1,
            Chart::FieldLeft + Chart::FieldWidth - 1, Chart::DarkLine.pixel());
    fillColumn(pixels, Chart::FieldLeft - 1, Chart::FieldTop - 1,
               Chart::FieldTop + Chart::FieldHeight - 1, Chart::DarkLine.pixel());
    fillRow(pixels, Chart::FieldTop + Chart::FieldHeight, Chart::FieldLeft - 1,
            Chart::FieldLeft + Chart::FieldWidth, Chart::LightLine.pixel());
    fillColumn(pixels, Chart::FieldLeft + Chart::FieldWidth, Chart::FieldTop - 1,
               Chart::FieldTop + Chart::FieldHeight, Chart::LightLine.pixel());

    quint32 *field = pixels.data() + Chart::FieldTop * Chart::Width + Chart::FieldLeft;
    for (int fy = 0; fy < Chart::FieldHeight; ++fy, field += Chart::Width) {
        const auto &cells = NominalCells[GreyRowOf[fy]];
        const int *thresholds = DitherMatrix[fy % 4];
        for (int fx = 0; fx < Chart::FieldWidth; ++fx) {
            const NominalCell cell = cells[HueColumnOf[fx]];
            const int t = thresholds[fx % 4];
            field[fx] = 0xFF000000u | quint32(ShownRedOrBlue[cell.red][t]) << 16 |
                        quint32(ShownGreen[cell.green][t]) << 8 | ShownRedOrBlue[cell.blue][t];
        }
    }
    return chart;
}

}  // namespace vantok
