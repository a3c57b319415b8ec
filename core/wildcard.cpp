// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wildcard.h"

#include <unordered_set>

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
// `fold` gives a name's unit in the pattern's case-folded form.
template<typename Fold>
bool matchesOne(QStringView pattern, QStringView name, Fold fold)
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
        } else if (p < pattern.size() && pattern[p].unicode() == fold(name[n])) {
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

// "*" and then only plain characters: the name need only end in them.
bool isStarThenLiteral(QStringView pattern)
{
    return pattern.startsWith(u'*') && pattern.size() > 1 && !pattern.sliced(1).contains(u'*') &&
           !pattern.contains(u'?');
}

template<typename Fold>
bool endsIn(QStringView name, QStringView literal, Fold fold)
{
    if (name.size() < literal.size())
        return false;
    const QStringView tail = name.sliced(name.size() - literal.size());
    for (qsizetype i = 0; i < literal.size(); ++i) {
        if (literal[i].unicode() != fold(tail[i]))
            return false;
    }
    return true;
}

}  // namespace

WildcardPattern::WildcardPattern(QStringView patterns)
{
    std::unordered_set<QString> seen;
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
        // A pattern listed again would only be tried again, for every name at every refilter.
        if (seen.insert(pattern).second)
            m_patterns.append({pattern, isStarThenLiteral(pattern)});
    }
    m_matchesAll = m_patterns.isEmpty();
}

template<typename Fold>
bool WildcardPattern::matchesAny(QStringView name, Fold fold) const
{
    if (m_matchesAll)
        return true;
    for (const Pattern &pattern : m_patterns) {
        // "*.BMP" is by far the commonest form; a suffix check saves retrying the star.
        const bool matched = pattern.suffix
                                 ? endsIn(name, QStringView(pattern.folded).sliced(1), fold)
                                 : matchesOne(pattern.folded, name, fold);
        if (matched)
            return true;
    }
    return false;
}

bool WildcardPattern::matches(QStringView fileName) const
{
    return matchesAny(fileName, folded);
}

bool WildcardPattern::matchesFolded(QStringView foldedName) const
{
    return matchesAny(foldedName, [](QChar c) { return c.unicode(); });
}

QString WildcardPattern::caseFolded(QStringView text)
{
    QString result(text.size(), Qt::Uninitialized);
    QChar *out = result.data();
    for (QChar c : text)
        *out++ = QChar(folded(c));
    return result;
}

}  // namespace vantok
