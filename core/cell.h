// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>
#include <variant>

namespace vantok
{

// Reads blanks, an optional sign, digits with an optional '.' and fraction, blanks; nothing
// else (no exponent, no locale). A number too large for a double gives an infinity, not an error;
// one too small gives 0.
std::optional<double> readDecimal(QStringView text);

// Reads the text as a hexadecimal literal: digits up to the first non-digit; no digit reads 0.
// Values up to FFFF are signed 16-bit, up to FFFFFFFF signed 32-bit; more is unreadable.
std::optional<qint32> readHexadecimal(QStringView text);

// Rounds to the nearest whole number, a half going to the even neighbour.
double roundHalfEven(double value);

// One component of the current colour: empty at start, then the text of its box or a number.
class Cell
{
public:
    Cell() = default;
    static Cell text(QString text) { return Cell(std::move(text)); }
    static Cell number(double value) { return Cell(value); }

    bool isEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isText() const { return std::holds_alternative<QString>(m_value); }
    bool isNumber() const { return std::holds_alternative<double>(m_value); }

    // The nearest whole number; nothing when the text cannot be read. Empty gives 0.
    std::optional<double> integerValue() const;
    // What the swatch uses: unreadable or negative count as 0, anything above 255 as 255.
    int swatchComponent() const;
    // Empty gives "", a text itself, a number its whole decimal digits.
    QString decimalForm() const;
    // Upper-case hexadecimal of the integer value; negatives in 16- or 32-bit two's complement.
    QString hexadecimalForm() const;

    bool operator==(const Cell &) const = default;

private:
    explicit Cell(QString text) : m_value(std::move(text)) {}
    explicit Cell(double value) : m_value(value) {}

    std::variant<std::monostate, QString, double> m_value;
};

}  // namespace vantok
