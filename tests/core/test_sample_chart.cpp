// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sample_chart.h"

#include <QRect>
#include <QTest>

#include <map>

using vantok::ChartColour;
using vantok::SampleChart;

Q_DECLARE_METATYPE(ChartColour)

namespace QTest
{
template<>
char *toString(const ChartColour &c)
{
    return qstrdup(QByteArray::number(c.red) + ", " + QByteArray::number(c.green) + ", " +
                   QByteArray::number(c.blue));
}
}  // namespace QTest

namespace
{

const SampleChart &chart()
{
    static const SampleChart generated = vantok::generateSampleChart();
    return generated;
}

ChartColour colourAt(int x, int y)
{
    return ChartColour::fromPixel(chart().pixel(x, y));
}

// Which of the three channels a row is about.
enum class Channel { Red, Green, Blue };

int channelOf(ChartColour c, Channel channel)
{
    switch (channel) {
    case Channel::Red:
        return c.red;
    case Channel::Green:
        return c.green;
    case Channel::Blue:
        break;
    }
    return c.blue;
}

// How a channel runs along one sixth of the top grey row.
enum class Run { Zero, Full, Up, Down };

using TileCounts = std::map<int, int>;

}  // namespace

Q_DECLARE_METATYPE(Channel)
Q_DECLARE_METATYPE(TileCounts)

class SampleChartTest : public QObject
{
    Q_OBJECT

private slots:
    void pixels_data();
    void pixels();
    void regions_data();
    void regions();
    void hueColumnWidths();
    void greyRowHeights();
    void hueColumnZeroFadesToGrey_data();
    void hueColumnZeroFadesToGrey();
    void topGreyRowIsTheRamp_data();
    void topGreyRowIsTheRamp();
    void lastGreyRowIsFaintlyColoured();
    void nominalValuesAreInTheDitheredRange();
    void ditherTileCounts_data();
    void ditherTileCounts();
    void fixedNominalValues_data();
    void fixedNominalValues();
    void ditherAlternatesBetweenNeighbouringLevels();
    void halfChannelShows127DownTheColumn_data();
    void halfChannelShows127DownTheColumn();
    void pureHuesInTopGreyRow_data();
    void pureHuesInTopGreyRow();
    void fieldHoldsNoMarginOrFrameColour();
    void everyPixelIsAWidened16BitColour();
};

void SampleChartTest::pixels_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<ChartColour>("colour");
    QTest::newRow("top-left margin") << 0 << 0 << ChartColour{191, 191, 191};
    QTest::newRow("dark line keeps its own corner") << 4 << 3 << ChartColour{127, 127, 127};
    QTest::newRow("light line takes the top-right corner")
        << 210 << 3 << ChartColour{255, 255, 255};
    QTest::newRow("light line takes the bottom-left corner")
        << 4 << 176 << ChartColour{255, 255, 255};
    QTest::newRow("red cell first pixel") << 5 << 4 << ChartColour{255, 0, 0};
    QTest::newRow("red cell second pixel") << 6 << 4 << ChartColour{255, 0, 0};
    QTest::newRow("red cell third pixel") << 7 << 4 << ChartColour{255, 0, 0};
    QTest::newRow("hue column 1 starts with green 23") << 8 << 4 << ChartColour{255, 23, 0};
    QTest::newRow("next pixel alternates to green 24") << 9 << 4 << ChartColour{255, 24, 0};
    QTest::newRow("yellow-green shows red 127") << 56 << 4 << ChartColour{127, 255, 0};
    QTest::newRow("yellow-green neighbour shows the same") << 57 << 4 << ChartColour{127, 255, 0};
    QTest::newRow("cyan") << 108 << 4 << ChartColour{0, 255, 255};
    QTest::newRow("last field column of the top row") << 209 << 4 << ChartColour{255, 0, 31};
    QTest::newRow("mid field, upper threshold") << 56 << 100 << ChartColour{127, 183, 63};
    QTest::newRow("mid field, neighbour below threshold") << 57 << 100 << ChartColour{127, 184, 64};
    QTest::newRow("greenish cyan mid field") << 107 << 89 << ChartColour{48, 192, 176};
    QTest::newRow("bottom-left field pixel") << 5 << 175 << ChartColour{127, 120, 112};
    QTest::newRow("bottom-right field pixel") << 209 << 175 << ChartColour{127, 120, 112};
}

void SampleChartTest::pixels()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(ChartColour, colour);
    QCOMPARE(colourAt(x, y), colour);
}

void SampleChartTest::regions_data()
{
    QTest::addColumn<QRect>("area");
    QTest::addColumn<ChartColour>("colour");
    const ChartColour margin{191, 191, 191};
    const ChartColour dark{127, 127, 127};
    const ChartColour light{255, 255, 255};
    QTest::newRow("top margin rows 0-2") << QRect(QPoint(0, 0), QPoint(214, 2)) << margin;
    QTest::newRow("bottom margin rows 177-179")
        << QRect(QPoint(0, 177), QPoint(214, 179)) << margin;
    QTest::newRow("left margin columns 0-3") << QRect(QPoint(0, 0), QPoint(3, 179)) << margin;
    QTest::newRow("right margin columns 211-214")
        << QRect(QPoint(211, 0), QPoint(214, 179)) << margin;
    QTest::newRow("dark line along row 3") << QRect(QPoint(4, 3), QPoint(209, 3)) << dark;
    QTest::newRow("dark line down column 4") << QRect(QPoint(4, 3), QPoint(4, 175)) << dark;
    QTest::newRow("light line along row 176") << QRect(QPoint(4, 176), QPoint(210, 176)) << light;
    QTest::newRow("light line down column 210") << QRect(QPoint(210, 3), QPoint(210, 176)) << light;
}

void SampleChartTest::regions()
{
    QFETCH(QRect, area);
    QFETCH(ChartColour, colour);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (colourAt(x, y) != colour)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
}

void SampleChartTest::hueColumnWidths()
{
    const int twelve[] = {3, 4, 3, 4, 3, 4, 3, 3, 4, 3, 4, 3};
    QCOMPARE(SampleChart::hueColumnStart(0), 0);
    for (int i = 0; i < SampleChart::HueColumns; ++i)
        QCOMPARE(SampleChart::hueColumnStart(i + 1) - SampleChart::hueColumnStart(i),
                 twelve[i % 12]);
    QCOMPARE(SampleChart::hueColumnStart(SampleChart::HueColumns), SampleChart::FieldWidth);
}

void SampleChartTest::greyRowHeights()
{
    const int fifteen[] = {5, 6, 6, 5, 6, 6, 6, 5, 6, 6, 6, 5, 6, 6, 6};
    QCOMPARE(SampleChart::greyRowStart(0), 0);
    for (int j = 0; j < SampleChart::GreyRows; ++j)
        QCOMPARE(SampleChart::greyRowStart(j + 1) - SampleChart::greyRowStart(j), fifteen[j % 15]);
    QCOMPARE(SampleChart::greyRowStart(SampleChart::GreyRows), SampleChart::FieldHeight);
}

void SampleChartTest::hueColumnZeroFadesToGrey_data()
{
    QTest::addColumn<int>("greyRow");
    QTest::addColumn<ChartColour>("nominal");
    QTest::newRow("row 0 is pure red") << 0 << ChartColour{255, 0, 0};
    QTest::newRow("row 1 first step") << 1 << ChartColour{251, 4, 4};
    QTest::newRow("row 2") << 2 << ChartColour{247, 9, 9};
    QTest::newRow("row 3") << 3 << ChartColour{242, 13, 13};
    QTest::newRow("row 4") << 4 << ChartColour{238, 17, 17};
    QTest::newRow("row 5") << 5 << ChartColour{234, 21, 21};
    QTest::newRow("row 10") << 10 << ChartColour{213, 43, 43};
    QTest::newRow("row 15 halfway") << 15 << ChartColour{191, 64, 64};
    QTest::newRow("row 20") << 20 << ChartColour{170, 85, 85};
    QTest::newRow("row 25") << 25 << ChartColour{149, 106, 106};
    QTest::newRow("row 29 is still faintly red") << 29 << ChartColour{132, 123, 123};
}

void SampleChartTest::hueColumnZeroFadesToGrey()
{
    QFETCH(int, greyRow);
    QFETCH(ChartColour, nominal);
    QCOMPARE(SampleChart::nominalColour(0, greyRow), nominal);
}

void SampleChartTest::topGreyRowIsTheRamp_data()
{
    QTest::addColumn<int>("hueColumn");
    QTest::addColumn<ChartColour>("nominal");
    const int ramp[] = {0, 26, 51, 77, 102, 128, 153, 179, 204, 230, 255};
    struct Sixth {
        const char *runs;
        Run red, green, blue;
    };
    const Sixth sixths[] = {
        {"red towards yellow", Run::Full, Run::Up, Run::Zero},
        {"yellow towards green", Run::Down, Run::Full, Run::Zero},
        {"green towards cyan", Run::Zero, Run::Full, Run::Up},
        {"cyan towards blue", Run::Zero, Run::Down, Run::Full},
        {"blue towards magenta", Run::Up, Run::Zero, Run::Full},
        {"magenta towards red", Run::Full, Run::Zero, Run::Down},
    };
    for (int sixth = 0; sixth < 6; ++sixth) {
        for (int k = 0; k < 10; ++k) {
            const auto value = [&](Run run) {
                switch (run) {
                case Run::Zero:
                    return 0;
                case Run::Full:
                    return 255;
                case Run::Up:
                    return ramp[k];
                case Run::Down:
                    break;
                }
                return ramp[10 - k];
            };
            const Sixth &s = sixths[sixth];
            const int column = 10 * sixth + k;
            QTest::addRow("column %d, %s, k=%d", column, s.runs, k)
                << column << ChartColour{value(s.red), value(s.green), value(s.blue)};
        }
    }
}

void SampleChartTest::topGreyRowIsTheRamp()
{
    QFETCH(int, hueColumn);
    QFETCH(ChartColour, nominal);
    QCOMPARE(SampleChart::nominalColour(hueColumn, 0), nominal);
}

void SampleChartTest::lastGreyRowIsFaintlyColoured()
{
    for (int i = 0; i < SampleChart::HueColumns; ++i) {
        const ChartColour c = SampleChart::nominalColour(i, SampleChart::GreyRows - 1);
        for (const int v : {c.red, c.green, c.blue}) {
            QVERIFY2(v >= 123 && v <= 132, qPrintable(QString::number(i)));
        }
        QVERIFY2(c.red != c.green || c.green != c.blue, qPrintable(QString::number(i)));
    }
}

// Only 0, 4, 9, 13 and 255 need fixed levels; everything else is dithered by the formula.
void SampleChartTest::nominalValuesAreInTheDitheredRange()
{
    for (int j = 0; j < SampleChart::GreyRows; ++j)
        for (int i = 0; i < SampleChart::HueColumns; ++i) {
            const ChartColour c = SampleChart::nominalColour(i, j);
            for (const int v : {c.red, c.green, c.blue}) {
                const bool fixed = v == 0 || v == 4 || v == 9 || v == 13 || v == 255;
                QVERIFY2(fixed || (v >= 17 && v <= 251),
                         qPrintable(QStringLiteral("cell %1, %2: %3").arg(i).arg(j).arg(v)));
            }
        }
}

void SampleChartTest::ditherTileCounts_data()
{
    QTest::addColumn<int>("nominal");
    QTest::addColumn<TileCounts>("redOrBlue");
    QTest::addColumn<TileCounts>("green");
    QTest::newRow("0 stays black") << 0 << TileCounts{{0, 16}} << TileCounts{{0, 16}};
    QTest::newRow("26") << 26 << TileCounts{{16, 12}, {31, 4}} << TileCounts{{23, 8}, {24, 8}};
    QTest::newRow("51") << 51 << TileCounts{{47, 10}, {48, 6}} << TileCounts{{47, 4}, {48, 12}};
    QTest::newRow("77") << 77 << TileCounts{{64, 6}, {79, 10}} << TileCounts{{72, 12}, {79, 4}};
    QTest::newRow("102") << 102 << TileCounts{{95, 4}, {96, 12}} << TileCounts{{96, 8}, {103, 8}};
    QTest::newRow("128 shows a steady 127")
        << 128 << TileCounts{{127, 16}} << TileCounts{{127, 16}};
    QTest::newRow("153") << 153 << TileCounts{{144, 14}, {159, 2}}
                         << TileCounts{{151, 12}, {152, 4}};
    QTest::newRow("179") << 179 << TileCounts{{175, 10}, {176, 6}}
                         << TileCounts{{175, 4}, {176, 12}};
    QTest::newRow("204, green steady")
        << 204 << TileCounts{{192, 8}, {207, 8}} << TileCounts{{200, 16}};
    QTest::newRow("230") << 230 << TileCounts{{223, 4}, {224, 12}}
                         << TileCounts{{224, 8}, {231, 8}};
    QTest::newRow("255 stays white") << 255 << TileCounts{{255, 16}} << TileCounts{{255, 16}};
}

void SampleChartTest::ditherTileCounts()
{
    QFETCH(int, nominal);
    QFETCH(TileCounts, redOrBlue);
    QFETCH(TileCounts, green);
    TileCounts shownRedOrBlue;
    TileCounts shownGreen;
    for (int t = 0; t < 16; ++t) {
        ++shownRedOrBlue[SampleChart::shownRedOrBlue(nominal, t)];
        ++shownGreen[SampleChart::shownGreen(nominal, t)];
    }
    QCOMPARE(shownRedOrBlue, redOrBlue);
    QCOMPARE(shownGreen, green);
}

void SampleChartTest::fixedNominalValues_data()
{
    QTest::addColumn<int>("nominal");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<int>("redOrBlue");
    QTest::addColumn<int>("green");
    QTest::newRow("4 below threshold 8 shows level 1") << 4 << 7 << 15 << 7;
    QTest::newRow("4 from threshold 8 shows level 0") << 4 << 8 << 0 << 7;
    QTest::newRow("4 at threshold 0") << 4 << 0 << 15 << 7;
    QTest::newRow("9 keeps level 1, green by formula") << 9 << 15 << 15 << 7;
    QTest::newRow("9 at threshold 0, green by formula") << 9 << 0 << 15 << 8;
    QTest::newRow("13 keeps level 1, green by formula") << 13 << 15 << 15 << 8;
    QTest::newRow("13 at threshold 0, green by formula") << 13 << 0 << 15 << 15;
    QTest::newRow("255 at the highest threshold") << 255 << 15 << 255 << 255;
}

void SampleChartTest::fixedNominalValues()
{
    QFETCH(int, nominal);
    QFETCH(int, threshold);
    QFETCH(int, redOrBlue);
    QFETCH(int, green);
    QCOMPARE(SampleChart::shownRedOrBlue(nominal, threshold), redOrBlue);
    QCOMPARE(SampleChart::shownGreen(nominal, threshold), green);
}

// Where the formula applies, a channel shows at most two neighbouring levels, the upper one
// at 2 * ((v - 8) mod 8) thresholds for red and blue and 4 * ((v - 4) mod 4) for green.
void SampleChartTest::ditherAlternatesBetweenNeighbouringLevels()
{
    // step: widened value per level; spread: the largest amount the threshold subtracts.
    const auto check = [](int v, int step, int spread, int upperCount, auto shown) {
        TileCounts levels;
        for (int t = 0; t < 16; ++t)
            ++levels[shown(v, t) / step];
        const int lower = (v - 1 - spread) / step;
        const TileCounts expected =
            upperCount == 0 ? TileCounts{{lower, 16}}
                            : TileCounts{{lower, 16 - upperCount}, {lower + 1, upperCount}};
        return levels == expected;
    };
    for (int v = 17; v <= 251; ++v) {
        QVERIFY2(check(v, 8, 7, 2 * ((v - 8) % 8), &SampleChart::shownRedOrBlue),
                 qPrintable(QStringLiteral("red or blue %1").arg(v)));
        QVERIFY2(check(v, 4, 3, 4 * ((v - 4) % 4), &SampleChart::shownGreen),
                 qPrintable(QStringLiteral("green %1").arg(v)));
    }
}

void SampleChartTest::halfChannelShows127DownTheColumn_data()
{
    QTest::addColumn<int>("hueColumn");
    QTest::addColumn<Channel>("channel");
    QTest::newRow("red in column 15") << 15 << Channel::Red;
    QTest::newRow("red in column 45") << 45 << Channel::Red;
    QTest::newRow("green in column 5") << 5 << Channel::Green;
    QTest::newRow("green in column 35") << 35 << Channel::Green;
    QTest::newRow("blue in column 25") << 25 << Channel::Blue;
    QTest::newRow("blue in column 55") << 55 << Channel::Blue;
}

void SampleChartTest::halfChannelShows127DownTheColumn()
{
    QFETCH(int, hueColumn);
    QFETCH(Channel, channel);
    QCOMPARE(channelOf(SampleChart::nominalColour(hueColumn, 0), channel), 128);
    const int left = SampleChart::FieldLeft + SampleChart::hueColumnStart(hueColumn);
    const int right = SampleChart::FieldLeft + SampleChart::hueColumnStart(hueColumn + 1);
    for (int y = SampleChart::FieldTop; y < SampleChart::FieldTop + SampleChart::FieldHeight; ++y)
        for (int x = left; x < right; ++x)
            QCOMPARE(channelOf(colourAt(x, y), channel), 127);
}

void SampleChartTest::pureHuesInTopGreyRow_data()
{
    QTest::addColumn<int>("hueColumn");
    QTest::addColumn<ChartColour>("colour");
    QTest::newRow("red") << 0 << ChartColour{255, 0, 0};
    QTest::newRow("yellow") << 10 << ChartColour{255, 255, 0};
    QTest::newRow("green") << 20 << ChartColour{0, 255, 0};
    QTest::newRow("cyan") << 30 << ChartColour{0, 255, 255};
    QTest::newRow("blue") << 40 << ChartColour{0, 0, 255};
    QTest::newRow("magenta") << 50 << ChartColour{255, 0, 255};
}

void SampleChartTest::pureHuesInTopGreyRow()
{
    QFETCH(int, hueColumn);
    QFETCH(ChartColour, colour);
    const int left = SampleChart::FieldLeft + SampleChart::hueColumnStart(hueColumn);
    const int right = SampleChart::FieldLeft + SampleChart::hueColumnStart(hueColumn + 1);
    const int bottom = SampleChart::FieldTop + SampleChart::greyRowStart(1);
    QCOMPARE(bottom - SampleChart::FieldTop, 5);
    for (int y = SampleChart::FieldTop; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            QCOMPARE(colourAt(x, y), colour);
}

void SampleChartTest::fieldHoldsNoMarginOrFrameColour()
{
    for (int y = SampleChart::FieldTop; y < SampleChart::FieldTop + SampleChart::FieldHeight; ++y)
        for (int x = SampleChart::FieldLeft; x < SampleChart::FieldLeft + SampleChart::FieldWidth;
             ++x) {
            const ChartColour c = colourAt(x, y);
            if (c == SampleChart::Margin || c == SampleChart::DarkLine ||
                c == SampleChart::LightLine)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
        }
}

// Red and blue are 8 * L (+7 for odd L), green 4 * L (+3 for odd L): 16m or 16m + 15 and
// 8m or 8m + 7.
void SampleChartTest::everyPixelIsAWidened16BitColour()
{
    const auto widened = [](int value, int period) {
        return value % period == 0 || value % period == period - 1;
    };
    int checked = 0;
    for (int y = 0; y < SampleChart::Height; ++y)
        for (int x = 0; x < SampleChart::Width; ++x, ++checked) {
            const quint32 pixel = chart().pixel(x, y);
            const ChartColour c = ChartColour::fromPixel(pixel);
            QCOMPARE(pixel >> 24, 0xFFu);
            if (!widened(c.red, 16) || !widened(c.green, 8) || !widened(c.blue, 16))
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
        }
    QCOMPARE(checked, 38700);
}

QTEST_GUILESS_MAIN(SampleChartTest)
#include "test_sample_chart.moc"
