// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cell.h"
#include "core/colour_value.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using vantok::Cell;

namespace
{
// Below the smallest double, denormals included: a tiny number, not an overflow.
const QString TooSmall = u"0."_s + QString(400, u'0') + u'1';
}  // namespace

class CellTest : public QObject
{
    Q_OBJECT

private slots:
    void decimalReading_data();
    void decimalReading();
    void hexadecimalReading_data();
    void hexadecimalReading();
    void integerValue_data();
    void integerValue();
    void swatchComponent_data();
    void swatchComponent();
    void decimalForm_data();
    void decimalForm();
    void hexadecimalForm_data();
    void hexadecimalForm();
    void hexadecimalFormReadsBack();
    void composition_data();
    void composition();
    void split_data();
    void split();
};

void CellTest::decimalReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<double>("value");
    QTest::newRow("plain digits") << u"255"_s << true << 255.0;
    QTest::newRow("blanks around are ignored") << u" 7 "_s << true << 7.0;
    QTest::newRow("tabs count as blanks") << u"\t12\t"_s << true << 12.0;
    QTest::newRow("leading plus") << u"+3"_s << true << 3.0;
    QTest::newRow("leading minus") << u"-3"_s << true << -3.0;
    QTest::newRow("fraction") << u"12.5"_s << true << 12.5;
    QTest::newRow("point without fraction") << u"4."_s << true << 4.0;
    QTest::newRow("fraction without whole part") << u".5"_s << true << 0.5;
    QTest::newRow("leading zeros") << u"007"_s << true << 7.0;
    QTest::newRow("empty text is unreadable") << u""_s << false << 0.0;
    QTest::newRow("only blanks are unreadable") << u"   "_s << false << 0.0;
    QTest::newRow("lone sign is unreadable") << u"-"_s << false << 0.0;
    QTest::newRow("lone point is unreadable") << u"."_s << false << 0.0;
    QTest::newRow("letters are unreadable") << u"abc"_s << false << 0.0;
    QTest::newRow("trailing letter is unreadable") << u"12a"_s << false << 0.0;
    QTest::newRow("blank inside the number is unreadable") << u"1 2"_s << false << 0.0;
    QTest::newRow("comma is no decimal point") << u"12,5"_s << false << 0.0;
    QTest::newRow("exponent is not accepted") << u"1e3"_s << false << 0.0;
    QTest::newRow("hexadecimal prefix is not accepted") << u"&hFF"_s << false << 0.0;
    QTest::newRow("two signs are unreadable") << u"+-1"_s << false << 0.0;
    QTest::newRow("non-ASCII digits are unreadable") << u"\u0663"_s << false << 0.0;
    QTest::newRow("fraction too small for a double reads 0") << TooSmall << true << 0.0;
    QTest::newRow("negative fraction too small reads 0") << u'-' + TooSmall << true << 0.0;
    QTest::newRow("too many digits read as infinity")
        << QString(400, u'9') << true << std::numeric_limits<double>::infinity();
}

void CellTest::decimalReading()
{
    QFETCH(QString, text);
    QFETCH(bool, readable);
    QFETCH(double, value);
    const std::optional<double> read = vantok::readDecimal(text);
    QCOMPARE(read.has_value(), readable);
    if (readable)
        QCOMPARE(*read, value);
}

void CellTest::hexadecimalReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<qint32>("value");
    QTest::newRow("lower-case digits") << u"ff"_s << true << 255;
    QTest::newRow("upper-case digits") << u"FF"_s << true << 255;
    QTest::newRow("stops at first non-digit") << u"1G"_s << true << 1;
    QTest::newRow("no leading digit reads 0") << u"G"_s << true << 0;
    QTest::newRow("empty text reads 0") << u""_s << true << 0;
    QTest::newRow("leading blank ends the reading") << u" 5"_s << true << 0;
    QTest::newRow("largest positive 16-bit") << u"7FFF"_s << true << 32767;
    QTest::newRow("8000 is the most negative 16-bit") << u"8000"_s << true << -32768;
    QTest::newRow("four digits are signed 16-bit") << u"FFFF"_s << true << -1;
    QTest::newRow("five digits widen to 32-bit") << u"10000"_s << true << 65536;
    QTest::newRow("leading zeros keep 16-bit reading") << u"0000FFFF"_s << true << -1;
    QTest::newRow("eight digits are signed 32-bit") << u"FFFFFFFF"_s << true << -1;
    QTest::newRow("largest positive 32-bit") << u"7FFFFFFF"_s << true << 2147483647;
    QTest::newRow("100 reads 256") << u"100"_s << true << 256;
    QTest::newRow("nine significant digits are unreadable") << u"100000000"_s << false << 0;
    QTest::newRow("nine digits with a leading zero fit") << u"0FFFFFFFF"_s << true << -1;
}

void CellTest::hexadecimalReading()
{
    QFETCH(QString, text);
    QFETCH(bool, readable);
    QFETCH(qint32, value);
    const std::optional<qint32> read = vantok::readHexadecimal(text);
    QCOMPARE(read.has_value(), readable);
    if (readable)
        QCOMPARE(*read, value);
}

void CellTest::integerValue_data()
{
    QTest::addColumn<Cell>("cell");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<double>("value");
    QTest::newRow("empty gives 0") << Cell() << true << 0.0;
    QTest::newRow("number stays") << Cell::number(52) << true << 52.0;
    QTest::newRow("half goes down to even") << Cell::text(u"12.5"_s) << true << 12.0;
    QTest::newRow("half goes up to even") << Cell::text(u"13.5"_s) << true << 14.0;
    QTest::newRow("negative half goes to even") << Cell::text(u"-2.5"_s) << true << -2.0;
    QTest::newRow("above half rounds up") << Cell::text(u"12.51"_s) << true << 13.0;
    QTest::newRow("below half rounds down") << Cell::text(u"12.49"_s) << true << 12.0;
    QTest::newRow("text with blanks") << Cell::text(u" 7 "_s) << true << 7.0;
    QTest::newRow("unreadable text") << Cell::text(u"x"_s) << false << 0.0;
}

void CellTest::integerValue()
{
    QFETCH(Cell, cell);
    QFETCH(bool, readable);
    QFETCH(double, value);
    const std::optional<double> integer = cell.integerValue();
    QCOMPARE(integer.has_value(), readable);
    if (readable)
        QCOMPARE(*integer, value);
}

void CellTest::swatchComponent_data()
{
    QTest::addColumn<Cell>("cell");
    QTest::addColumn<int>("component");
    QTest::newRow("empty counts as 0") << Cell() << 0;
    QTest::newRow("byte stays") << Cell::number(200) << 200;
    QTest::newRow("300 counts as 255") << Cell::text(u"300"_s) << 255;
    QTest::newRow("above 16-bit counts as 255") << Cell::text(u"40000"_s) << 255;
    QTest::newRow("huge digit run counts as 255") << Cell::text(QString(400, u'9')) << 255;
    QTest::newRow("fraction too small for a double counts as 0") << Cell::text(TooSmall) << 0;
    QTest::newRow("negative counts as 0") << Cell::text(u"-5"_s) << 0;
    QTest::newRow("negative hex reading counts as 0") << Cell::number(-1) << 0;
    QTest::newRow("letters count as 0") << Cell::text(u"abc"_s) << 0;
    QTest::newRow("cleared box counts as 0") << Cell::text(u""_s) << 0;
    QTest::newRow("lone sign counts as 0") << Cell::text(u"-"_s) << 0;
    QTest::newRow("255.5 rounds to even 256, counted as 255") << Cell::text(u"255.5"_s) << 255;
    QTest::newRow("0.5 rounds to even 0") << Cell::text(u"0.5"_s) << 0;
}

void CellTest::swatchComponent()
{
    QFETCH(Cell, cell);
    QFETCH(int, component);
    QCOMPARE(cell.swatchComponent(), component);
}

void CellTest::decimalForm_data()
{
    QTest::addColumn<Cell>("cell");
    QTest::addColumn<QString>("form");
    QTest::newRow("empty gives empty text") << Cell() << u""_s;
    QTest::newRow("text gives itself unchanged") << Cell::text(u" 7 "_s) << u" 7 "_s;
    QTest::newRow("unreadable text gives itself") << Cell::text(u"x1"_s) << u"x1"_s;
    QTest::newRow("zero") << Cell::number(0) << u"0"_s;
    QTest::newRow("byte") << Cell::number(255) << u"255"_s;
    QTest::newRow("negative number keeps its sign") << Cell::number(-32768) << u"-32768"_s;
    QTest::newRow("32-bit number") << Cell::number(65536) << u"65536"_s;
}

void CellTest::decimalForm()
{
    QFETCH(Cell, cell);
    QFETCH(QString, form);
    QCOMPARE(cell.decimalForm(), form);
}

void CellTest::hexadecimalForm_data()
{
    QTest::addColumn<Cell>("cell");
    QTest::addColumn<QString>("form");
    QTest::newRow("empty gives 0") << Cell() << u"0"_s;
    QTest::newRow("zero") << Cell::number(0) << u"0"_s;
    QTest::newRow("single digit") << Cell::number(5) << u"5"_s;
    QTest::newRow("18 gives 12") << Cell::number(18) << u"12"_s;
    QTest::newRow("upper-case digits") << Cell::number(255) << u"FF"_s;
    QTest::newRow("text is read as decimal") << Cell::text(u" 7 "_s) << u"7"_s;
    QTest::newRow("text is rounded half to even") << Cell::text(u"10.5"_s) << u"A"_s;
    QTest::newRow("negative 16-bit in four digits") << Cell::number(-1) << u"FFFF"_s;
    QTest::newRow("below 16-bit in eight digits") << Cell::number(-40000) << u"FFFF63C0"_s;
    QTest::newRow("above 16-bit") << Cell::number(65536) << u"10000"_s;
    QTest::newRow("beyond 32-bit saturates") << Cell::text(u"99999999999"_s) << u"7FFFFFFF"_s;
    QTest::newRow("beyond a double saturates") << Cell::text(QString(400, u'9')) << u"7FFFFFFF"_s;
    QTest::newRow("negative beyond a double saturates")
        << Cell::text(u'-' + QString(400, u'9')) << u"80000000"_s;
    QTest::newRow("fraction too small for a double gives 0") << Cell::text(TooSmall) << u"0"_s;
    QTest::newRow("negative fraction too small gives 0") << Cell::text(u'-' + TooSmall) << u"0"_s;
    QTest::newRow("unreadable text gives 0") << Cell::text(u"abc"_s) << u"0"_s;
}

void CellTest::hexadecimalForm()
{
    QFETCH(Cell, cell);
    QFETCH(QString, form);
    QCOMPARE(cell.hexadecimalForm(), form);
}

// Switching to "16" and back must keep every value the hex display can produce.
void CellTest::hexadecimalFormReadsBack()
{
    for (const double value : {0.0, 1.0, 255.0, 32767.0, -1.0, -32768.0, 65536.0, -40000.0,
                               2147483647.0, -2147483648.0}) {
        const QString hex = Cell::number(value).hexadecimalForm();
        QCOMPARE(double(vantok::readHexadecimal(hex).value()), value);
    }
}

void CellTest::composition_data()
{
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<vantok::ColourValue>("value");
    QTest::newRow("black") << 0 << 0 << 0 << 0;
    QTest::newRow("white") << 255 << 255 << 255 << 0xFFFFFF;
    QTest::newRow("red is the lowest byte") << 52 << 18 << 5 << 0x051234;
    QTest::newRow("above 255 counts as 255") << 300 << 0 << 32767 << 0xFF00FF;
    QTest::newRow("negative counts as 0") << -1 << -32768 << 7 << 0x070000;
}

void CellTest::composition()
{
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(vantok::ColourValue, value);
    QCOMPARE(vantok::composeColour(red, green, blue), value);
}

void CellTest::split_data()
{
    QTest::addColumn<vantok::ColourValue>("value");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::newRow("mixed colour") << 0x051234 << 0x34 << 0x12 << 0x05;
    QTest::newRow("unreadable point gives white") << vantok::NoColour << 255 << 255 << 255;
    QTest::newRow("pure red") << 0xFF << 255 << 0 << 0;
}

void CellTest::split()
{
    QFETCH(vantok::ColourValue, value);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QCOMPARE(vantok::redOf(value), red);
    QCOMPARE(vantok::greenOf(value), green);
    QCOMPARE(vantok::blueOf(value), blue);
}

QTEST_GUILESS_MAIN(CellTest)
#include "test_cell.moc"
