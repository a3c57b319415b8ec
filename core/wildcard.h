// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace vantok
{

// One or more file-name patterns separated by ';', blanks around each ignored. '*' matches any
// run of characters and '?' exactly one; every other character, '[' included, stands for itself.
// Case does not matter. No pattern at all matches every name.
class WildcardPattern
{
public:
    explicit WildcardPattern(QStringView patterns);

    bool matches(QStringView fileName) const;

private:
    QList<QString> m_patterns;  // case-folded, never empty strings
    bool m_matchesAll = false;
};

}  // namespace vantok
