// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the text fuzz targets do with one input, shared with the unit test that replays the inputs
// kept in tests/regressions/. Each returns what broke, or nothing; memory faults are left to the
// sanitizers.

#include "core/cell.h"
#include "core/wildcard.h"

#include <QByteArrayView>
#include <QString>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace vantok::fuzz
{

// The first byte chooses how the rest is read: even as UTF-8, as typed; odd as raw UTF-16, which
// also reaches what only a paste can bring, unpaired surrogates included.
inline QString textOf(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    const QByteArrayView rest = bytes.sliced(1);
    if (uchar(bytes.front()) % 2 == 0)
        return QString::fromUtf8(rest);
    return QString(reinterpret_cast<const QChar *>(rest.data()), rest.size() / 2);
}

inline bool isUpperHex(const QString &text)
{
    if (text.isEmpty() || text.size() > 8)
        return false;
    for (const QChar c : text) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')))
            return false;
    }
    return true;
}

// What the hexadecimal form of a cell whose whole value is `value` reads back as: four digits
// read signed, so 32768..65535 come back negative; beyond 32 bits the form is clamped.
inline qint32 hexadecimalReadBack(double value)
{
    const double limited = std::clamp(value, double(std::numeric_limits<qint32>::min()),
                                      double(std::numeric_limits<qint32>::max()));
    const auto whole = qint32(limited);
    if (whole >= 32768 && whole <= 65535)
        return whole - 65536;
    return whole;
}

inline std::optional<QString> brokenCell(const Cell &cell)
{
    const int component = cell.swatchComponent();
    if (component < 0 || component > 255)
        return QStringLiteral("swatch component %1 outside 0..255").arg(component);
    const QString hexadecimal = cell.hexadecimalForm();
    if (!isUpperHex(hexadecimal))
        return QStringLiteral("hexadecimal form \"%1\" is not 1 to 8 upper-case digits")
            .arg(hexadecimal);
    const std::optional<double> value = cell.integerValue();
    const qint32 expected = (value && !std::isnan(*value)) ? hexadecimalReadBack(*value) : 0;
    if (readHexadecimal(hexadecimal) != expected)
        return QStringLiteral("hexadecimal form \"%1\" does not read back as %2")
            .arg(hexadecimal)
            .arg(expected);
    return std::nullopt;
}

// The component boxes: the text as a decimal cell, its hexadecimal reading as a number cell, and
// the number a decimal reading gives, each checked for a swatch component in range and a
// hexadecimal form that reads back as the cell's value.
inline std::optional<QString> brokenComponentReading(QByteArrayView bytes)
{
    const QString text = textOf(bytes);
    if (auto broken = brokenCell(Cell::text(text)))
        return broken;
    if (const std::optional<qint32> hexadecimal = readHexadecimal(text)) {
        if (auto broken = brokenCell(Cell::number(*hexadecimal)))
            return broken;
    }
    if (const std::optional<double> decimal = readDecimal(text)) {
        const Cell number = Cell::number(*decimal);
        if (auto broken = brokenCell(number))
            return broken;
        if (number.decimalForm().isEmpty())
            return QStringLiteral("a number cell has an empty decimal form");
    }
    return std::nullopt;
}

// The plainest correct matcher, by dynamic programming, for one case-folded pattern and a name
// without surrogates (where a character is one UTF-16 unit).
inline bool plainlyMatches(QStringView pattern, QStringView name)
{
    std::vector<char> row(name.size() + 1, 0);  // row[j]: the pattern so far matches name[0, j)
    row[0] = 1;
    for (const QChar p : pattern) {
        std::vector<char> next(row.size(), 0);
        if (p == u'*') {
            char any = 0;
            for (size_t j = 0; j < row.size(); ++j)
                next[j] = any = char(any | row[j]);
        } else {
            for (size_t j = 1; j < row.size(); ++j) {
                const char16_t n = QChar::toCaseFolded(name[j - 1].unicode());
                next[j] = char(row[j - 1] && (p == u'?' || p.unicode() == n));
            }
        }
        row.swap(next);
    }
    return row.back() != 0;
}

inline bool hasSurrogates(QStringView text)
{
    for (const QChar c : text) {
        if (c.isSurrogate())
            return true;
    }
    return false;
}

// The pattern box: the input up to its first line feed is the pattern text, the rest a file name.
// Without surrogates the matcher must agree with the plain one.
inline std::optional<QString> brokenWildcardMatch(QByteArrayView bytes)
{
    const QString text = textOf(bytes);
    const qsizetype split = text.indexOf(u'\n');
    const QString patterns = split < 0 ? text : text.first(split);
    const QString name = split < 0 ? QString() : text.sliced(split + 1);
    const bool matched = WildcardPattern(patterns).matches(name);
    if (hasSurrogates(patterns) || hasSurrogates(name))
        return std::nullopt;

    bool expected = false;
    bool anyPattern = false;
    for (QStringView part : QStringView(patterns).split(u';')) {
        part = part.trimmed();
        if (part.isEmpty())
            continue;
        anyPattern = true;
        QString folded;
        for (const QChar c : part)
            folded.append(QChar(QChar::toCaseFolded(c.unicode())));
        expected = expected || plainlyMatches(folded, name);
    }
    expected = expected || !anyPattern;
    if (matched != expected)
        return QStringLiteral("\"%1\" %2 \"%3\"")
            .arg(patterns, matched ? u"matched, wrongly," : u"did not match", name);
    return std::nullopt;
}

}  // namespace vantok::fuzz
