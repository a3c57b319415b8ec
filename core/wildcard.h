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
    // The same for a name already in caseFolded() form, so a list of names is folded only once.
    bool matchesFolded(QStringView foldedName) const;

    // The case-free form that names and patterns are compared in.
    static QString caseFolded(QStringView text);

private:
    template<typename Fold>
    bool matchesAny(QStringView name, Fold fold) const;

    struct Pattern {
        QString folded;       // never empty
        bool suffix = false;  // "*" and then plain characters only
    };
    QList<Pattern> m_patterns;
    bool m_matchesAll = false;
};

}  // namespace vantok
