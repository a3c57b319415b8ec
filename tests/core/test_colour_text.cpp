// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/colour_text.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantok;

class ColourTextTest : public QObject
{
    Q_OBJECT

private slots:
    void writes_data();
    void writes();
    void writesCssFormsAndName_data();
    void writesCssFormsAndName();
};

void ColourTextTest::writes_data()
{
    QTest::addColumn<ColourValue>("colour");
    QTest::addColumn<ColourForm>("form");
    QTest::addColumn<double>("alpha");
    QTest::addColumn<QString>("text");
    const ColourValue orange = composeColour(255, 128, 10);
    QTest::newRow("hash is red first, upper case")
        << orange << ColourForm::Hash << 1.0 << u"#FF800A"_s;
    QTest::newRow("hash keeps leading zeros")
        << composeColour(0, 0, 5) << ColourForm::Hash << 1.0 << u"#000005"_s;
    QTest::newRow("function in decimal")
        << orange << ColourForm::RgbFunction << 1.0 << u"rgb(255, 128, 10)"_s;
    QTest::newRow("components in decimal")
        << orange << ColourForm::Components << 1.0 << u"255, 128, 10"_s;
    QTest::newRow("black") << composeColour(0, 0, 0) << ColourForm::Components << 1.0
                           << u"0, 0, 0"_s;
    QTest::newRow("rgba with alpha to two decimals")
        << orange << ColourForm::RgbaFunction << 128 / 255.0 << u"rgba(255, 128, 10, 0.50)"_s;
}

void ColourTextTest::writes()
{
    QFETCH(ColourValue, colour);
    QFETCH(ColourForm, form);
    QFETCH(double, alpha);
    QFETCH(QString, text);
    QCOMPARE(colourText(colour, form, alpha), text);
}

// Worked out apart from this code, from CSS Color 4's formulas in exact arithmetic.
void ColourTextTest::writesCssFormsAndName_data()
{
    QTest::addColumn<ColourValue>("colour");
    QTest::addColumn<QString>("hsl");
    QTest::addColumn<QString>("oklch");
    QTest::addColumn<QString>("name");
    const auto row = [](const char *proves, int r, int g, int b) -> QTestData & {
        return QTest::newRow(proves) << composeColour(r, g, b);
    };
    row("black has hue 0", 0, 0, 0)
        << u"hsl(0, 0%, 0%)"_s << u"oklch(0.00% 0.0000 0)"_s << u"black (very dark grey)"_s;
    row("white", 255, 255, 255) << u"hsl(0, 0%, 100%)"_s << u"oklch(100.00% 0.0000 0)"_s
                                << u"white (very light grey)"_s;
    row("a grey is spelled grey, of two equal names", 128, 128, 128)
        << u"hsl(0, 0%, 50%)"_s << u"oklch(59.99% 0.0000 0)"_s << u"grey (grey)"_s;
    row("pure red", 255, 0, 0) << u"hsl(0, 100%, 50%)"_s << u"oklch(62.80% 0.2577 29.23)"_s
                               << u"red (strong red)"_s;
    row("pure green", 0, 255, 0) << u"hsl(120, 100%, 50%)"_s << u"oklch(86.64% 0.2948 142.50)"_s
                                 << u"lime (light, strong green)"_s;
    row("pure blue", 0, 0, 255) << u"hsl(240, 100%, 50%)"_s << u"oklch(45.20% 0.3132 264.05)"_s
                                << u"blue (dark, strong blue)"_s;
    row("cyan, not aqua, of two equal names", 0, 255, 255)
        << u"hsl(180, 100%, 50%)"_s << u"oklch(90.54% 0.1546 194.77)"_s
        << u"cyan (very light, strong cyan)"_s;
    row("a hue of 359.76 degrees rounds round to 0", 255, 0, 1)
        << u"hsl(0, 100%, 50%)"_s << u"oklch(62.80% 0.2576 29.18)"_s << u"red (strong red)"_s;
    row("a saturation of 2.5% rounds up", 41, 39, 40)
        << u"hsl(330, 3%, 16%)"_s << u"oklch(27.53% 0.0034 345.47)"_s
        << u"darkslategrey (very dark grey)"_s;
    row("a hue of 7.5 degrees rounds up", 255, 248, 247)
        << u"hsl(8, 100%, 98%)"_s << u"oklch(98.42% 0.0076 27.23)"_s << u"snow (very light grey)"_s;
    row("a faint blue keeps its hue", 128, 128, 129)
        << u"hsl(240, 0%, 50%)"_s << u"oklch(60.02% 0.0015 286.35)"_s << u"grey (grey)"_s;
    row("dark and strong", 220, 20, 60)
        << u"hsl(348, 83%, 47%)"_s << u"oklch(57.12% 0.2219 20.09)"_s
        << u"crimson (dark, strong red)"_s;
    row("greyish", 112, 128, 144) << u"hsl(210, 13%, 50%)"_s << u"oklch(59.25% 0.0309 248.35)"_s
                                  << u"slategrey (greyish blue)"_s;
}

void ColourTextTest::writesCssFormsAndName()
{
    QFETCH(ColourValue, colour);
    QFETCH(QString, hsl);
    QFETCH(QString, oklch);
    QFETCH(QString, name);
    QCOMPARE(colourText(colour, ColourForm::Hsl), hsl);
    QCOMPARE(colourText(colour, ColourForm::Oklch), oklch);
    QCOMPARE(colourText(colour, ColourForm::Name), name);
}

QTEST_APPLESS_MAIN(ColourTextTest)
#include "test_colour_text.moc"
