// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cell.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace vantok
{

namespace
{

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

}  // namespace

std::optional<double> readDecimal(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;

    qsizetype i = begin;
    const bool negative = i < end && text[i] == u'-';
    if (i < end && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    const qsizetype numberStart = i;
    qsizetype digits = 0;
    while (i < end && isDigit(text[i]))
        ++i, ++digits;
    if (i < end && text[i] == u'.') {
        ++i;
        while (i < end && isDigit(text[i]))
            ++i, ++digits;
    }
    if (i != end || digits == 0)
        return std::nullopt;

    // Only ASCII digits and '.' are left, so the Latin-1 form is exact.
    const std::string number = text.sliced(numberStart, end - numberStart).toLatin1().toStdString();
    double value = 0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Out of range either way: too large only with a non-zero digit before the point,
        // otherwise too small, which is as near to 0 as a double gets.
        const std::string_view whole = std::string_view(number).substr(0, number.find('.'));
        const bool tooLarge = whole.find_first_not_of('0') != std::string_view::npos;
        value = tooLarge ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc() || ptr != number.data() + number.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<qint32> readHexadecimal(QStringView text)
{
    quint64 value = 0;
    for (const QChar c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            break;
        value = value * 16 + quint64(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    if (value <= 0xFFFF)
        return qint32(qint16(quint16(value)));
    return qint32(quint32(value));
}

double roundHalfEven(double value)
{
    const double down = std::floor(value);
    const double fraction = value - down;
    if (fraction > 0.5)
        return down + 1;
    if (fraction < 0.5)
        return down;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

std::optional<double> Cell::integerValue() const
{
    if (const auto *number = std::get_if<double>(&m_value))
        return roundHalfEven(*number);
    if (const auto *text = std::get_if<QString>(&m_value)) {
        const std::optional<double> read = readDecimal(*text);
        if (!read)
            return std::nullopt;
        return roundHalfEven(*read);
    }
    return 0.0;
}

int Cell::swatchComponent() const
{
    const std::optional<double> value = integerValue();
    if (!value || std::isnan(*value))
        return 0;
    return int(std::clamp(*value, 0.0, 255.0));
}

QString Cell::decimalForm() const
{
    if (const auto *text = std::get_if<QString>(&m_value))
        return *text;
    if (const auto *number = std::get_if<double>(&m_value))
        return QString::number(*number, 'f', 0);
    return {};
}

QString Cell::hexadecimalForm() const
{
    const std::optional<double> value = integerValue();
    if (!value || std::isnan(*value))
        return QStringLiteral("0");
    const double limited = std::clamp(*value, double(std::numeric_limits<qint32>::min()),
                                      double(std::numeric_limits<qint32>::max()));
    const auto whole = qint32(limited);
    if (whole >= std::numeric_limits<qint16>::min() && whole <= std::numeric_limits<qint16>::max())
        return QString::number(quint16(qint16(whole)), 16).toUpper();
    return QString::number(quint32(whole), 16).toUpper();
}

}  // namespace vantok
