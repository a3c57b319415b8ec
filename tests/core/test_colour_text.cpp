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
};

void ColourTextTest::writes_data()
{
    QTest::addColumn<ColourValue>("colour");
    QTest::addColumn<ColourForm>("form");
    QTest::addColumn<QString>("text");
    const ColourValue orange = composeColour(255, 128, 10);
    QTest::newRow("hash is red first, upper case") << orange << ColourForm::Hash << u"#FF800A"_s;
    QTest::newRow("hash keeps leading zeros")
        << composeColour(0, 0, 5) << ColourForm::Hash << u"#000005"_s;
    QTest::newRow("function in decimal")
        << orange << ColourForm::RgbFunction << u"rgb(255, 128, 10)"_s;
    QTest::newRow("components in decimal") << orange << ColourForm::Components << u"255, 128, 10"_s;
    QTest::newRow("black") << composeColour(0, 0, 0) << ColourForm::Components << u"0, 0, 0"_s;
}

void ColourTextTest::writes()
{
    QFETCH(ColourValue, colour);
    QFETCH(ColourForm, form);
    QFETCH(QString, text);
    QCOMPARE(colourText(colour, form), text);
}

QTEST_APPLESS_MAIN(ColourTextTest)
#include "test_colour_text.moc"
