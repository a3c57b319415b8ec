// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wildcard.h"

namespace vantok
{

namespace
{

char16_t folded(QChar c)
{
    return QChar::toCaseFolded(c.unicode());
}

// How many UTF-16 units the character at `i` takes: a surrogate pair counts as one character.
qsizetype characterLength(QStringView text, qsizetype i)
{
    return (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2
                                                                                              : 1;
}

// Greedy: a star first matches nothing and, on a mismatch, one more character. Only the last
// star is ever retried, which is enough because any earlier star's span can be kept as found.
bool matchesOne(QStringView pattern, QStringView name)
{
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype starAt = -1;
    qsizetype starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'?') {
            n += characterLength(name, n);
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            starName = n;
        } else if (p < pattern.size() && pattern[p].unicode() == folded(name[n])) {
            ++n;
            ++p;
        } else if (starAt >= 0) {
            p = starAt + 1;
            starName += characterLength(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

}  // namespace

WildcardPattern::WildcardPattern(QStringView patterns)
{
    for (QStringView part : patterns.split(u';')) {
        part = part.trimmed();
        if (part.isEmpty())
            continue;
        QString pattern;
        pattern.reserve(part.size());
        for (QChar c : part) {
            if (c == u'*' && pattern.endsWith(u'*'))
                continue;  // a run of stars means the same as one and would only cost time
            pattern.append(QChar(folded(c)));
        }
        m_patterns.append(pattern);
    }
    m_matchesAll = m_patterns.isEmpty();
}

bool WildcardPattern::matches(QStringView fileName) const
{
    if (m_matchesAll)
        return true;
    for (const QString &pattern : m_patterns) {
        if (matchesOne(pattern, fileName))
            return true;
    }
    return false;
}

}  // namespace vantok
