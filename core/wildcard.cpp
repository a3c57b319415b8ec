// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wildcard.h"

#include <QVarLengthArray>

#include <algorithm>
#include <limits>

namespace vantok
{

namespace
{

// Below these counts, comparing each costs less than hashing the name or its pieces.
constexpr qsizetype FewTexts = 8;
constexpr qsizetype FewPatterns = 32;
// Pieces of up to three units: enough to spread a long list, and each still fits in one number.
constexpr qsizetype LongestPiece = 3;

char16_t folded(QChar c)
{
    return QChar::toCaseFolded(c.unicode());
}

bool isWildcard(QChar c)
{
    return c == u'*' || c == u'?';
}

// A name looked up in a set of strings as it stands, without copying it.
QString viewed(QStringView text)
{
    return QString::fromRawData(text.data(), text.size());
}

// Plain comparisons of a few units, which Qt's own would route through a general string compare.
bool startsIn(QStringView name, QStringView text)
{
    return name.size() >= text.size() && std::ranges::equal(name.first(text.size()), text);
}

bool endsIn(QStringView name, QStringView text)
{
    return name.size() >= text.size() && std::ranges::equal(name.last(text.size()), text);
}

// How many UTF-16 units the character at `i` takes: a surrogate pair counts as one character.
qsizetype characterLength(QStringView text, qsizetype i)
{
    return (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2
                                                                                              : 1;
}

// Greedy: a star first matches nothing and, on a mismatch, one more character. Only the last
// star is ever retried, which is enough because any earlier star's span can be kept as found.
// Both pattern and name are case-folded.
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
        } else if (p < pattern.size() && pattern[p] == name[n]) {
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

QString foldedPattern(QStringView part)
{
    QString pattern;
    pattern.reserve(part.size());
    for (QChar c : part) {
        if (c == u'*' && pattern.endsWith(u'*'))
            continue;  // a run of stars means the same as one and would only cost time
        pattern.append(QChar(folded(c)));
    }
    return pattern;
}

// The runs of plain characters between wildcards. Each plain character matches exactly one unit
// of a name, so a matching name holds every run, unit for unit.
QList<QStringView> plainRuns(QStringView pattern)
{
    QList<QStringView> runs;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= pattern.size(); ++i) {
        if (i == pattern.size() || isWildcard(pattern[i])) {
            if (i > start)
                runs.append(pattern.sliced(start, i - start));
            start = i + 1;
        }
    }
    return runs;
}

// A piece of up to LongestPiece units as one number; its length is part of it, so pieces of
// different lengths never meet.
quint64 pieceKey(QStringView piece)
{
    quint64 key = quint64(piece.size());
    for (QChar c : piece)
        key = key << 16 | c.unicode();
    return key;
}

}  // namespace

void WildcardPattern::PlainTexts::insert(const QString &text)
{
    QSet<QString> &sameLength = m_byLength[text.size()];
    if (!sameLength.contains(text)) {
        sameLength.insert(text);
        m_texts.append(text);
    }
}

bool WildcardPattern::PlainTexts::isOneOf(QStringView name) const
{
    if (m_texts.size() <= FewTexts)
        return std::ranges::any_of(m_texts, [name](const QString &t) { return t == name; });
    const auto sameLength = m_byLength.constFind(name.size());
    return sameLength != m_byLength.cend() && sameLength->contains(viewed(name));
}

bool WildcardPattern::PlainTexts::startsWithOne(QStringView name) const
{
    if (m_texts.size() <= FewTexts)
        return std::ranges::any_of(m_texts, [name](const QString &t) { return startsIn(name, t); });
    for (auto set = m_byLength.cbegin(); set != m_byLength.cend() && set.key() <= name.size();
         ++set) {
        if (set->contains(viewed(name.first(set.key()))))
            return true;
    }
    return false;
}

bool WildcardPattern::PlainTexts::endsWithOne(QStringView name) const
{
    if (m_texts.size() <= FewTexts)
        return std::ranges::any_of(m_texts, [name](const QString &t) { return endsIn(name, t); });
    for (auto set = m_byLength.cbegin(); set != m_byLength.cend() && set.key() <= name.size();
         ++set) {
        if (set->contains(viewed(name.last(set.key()))))
            return true;
    }
    return false;
}

void WildcardPattern::GeneralPatterns::insert(const QString &pattern)
{
    // A pattern listed again would only be tried again, for every name at every refilter.
    if (m_seen.contains(pattern))
        return;
    m_seen.insert(pattern);

    Entry entry{pattern};
    entry.shortest = pattern.size() - pattern.count(u'*');
    entry.longest = pattern.contains(u'*') ? std::numeric_limits<qsizetype>::max()
                                           : entry.shortest + pattern.count(u'?');
    const qsizetype index = m_entries.size();
    m_entries.append(entry);

    const QList<QStringView> runs = plainRuns(pattern);
    qsizetype pieceLength = 0;
    for (QStringView run : runs)
        pieceLength = std::max(pieceLength, std::min(run.size(), LongestPiece));
    if (pieceLength == 0) {
        m_wildcardsOnly.append(index);
        return;
    }
    // The least used piece, so that "*IMG_0001*;*IMG_0002*;..." do not all land on "img".
    quint64 best = 0;
    qsizetype bestCount = std::numeric_limits<qsizetype>::max();
    for (QStringView run : runs) {
        for (qsizetype i = 0; i + pieceLength <= run.size() && bestCount > 0; ++i) {
            const quint64 key = pieceKey(run.sliced(i, pieceLength));
            const auto filed = m_byPiece.constFind(key);
            const qsizetype count = filed == m_byPiece.cend() ? 0 : filed->size();
            if (count < bestCount) {
                best = key;
                bestCount = count;
            }
        }
    }
    m_byPiece[best].append(index);
    m_pieceLengths |= 1u << pieceLength;
}

// What stays linear: patterns filed under one piece are tried one after another, and patterns of
// wildcards alone are tried for every name. A megabyte of "p*0*q;p*1*q;..." files its 105,000
// patterns under 1,100 pieces, so a name "p12345q" still tries about 300 of them.
bool WildcardPattern::GeneralPatterns::matchAny(QStringView name) const
{
    if (m_entries.size() <= FewPatterns)
        return std::ranges::any_of(m_entries, [name](const Entry &e) { return e.matches(name); });

    for (qsizetype i : m_wildcardsOnly) {
        if (m_entries[i].matches(name))
            return true;
    }
    QVarLengthArray<quint64, 256> pieces;
    for (qsizetype length = 1; length <= LongestPiece; ++length) {
        if (m_pieceLengths & (1u << length)) {
            for (qsizetype i = 0; i + length <= name.size(); ++i)
                pieces.append(pieceKey(name.sliced(i, length)));
        }
    }
    // A piece the name holds twice would only try the same patterns again.
    std::sort(pieces.begin(), pieces.end());
    const auto distinctEnd = std::unique(pieces.begin(), pieces.end());
    for (auto piece = pieces.begin(); piece != distinctEnd; ++piece) {
        const auto filed = m_byPiece.constFind(*piece);
        if (filed == m_byPiece.cend())
            continue;
        for (qsizetype i : *filed) {
            if (m_entries[i].matches(name))
                return true;
        }
    }
    return false;
}

bool WildcardPattern::GeneralPatterns::Entry::matches(QStringView name) const
{
    if (name.size() < shortest || name.size() > longest)
        return false;
    // A plain last character can only have matched the name's last unit.
    if (!isWildcard(pattern.back()) && !name.endsWith(pattern.back()))
        return false;
    return matchesOne(pattern, name);
}

WildcardPattern::WildcardPattern(QStringView patterns)
{
    bool anyPattern = false;
    for (QStringView part : patterns.tokenize(u';')) {
        part = part.trimmed();
        if (part.isEmpty())
            continue;
        anyPattern = true;
        const QString pattern = foldedPattern(part);
        const qsizetype stars = pattern.count(u'*');
        const bool noQuestionMark = !pattern.contains(u'?');
        if (pattern == u"*") {
            m_matchesAll = true;
            break;  // nothing after it can add a name
        } else if (noQuestionMark && stars == 0) {
            m_names.insert(pattern);
        } else if (noQuestionMark && stars == 1 && pattern.startsWith(u'*')) {
            m_endings.insert(pattern.sliced(1));  // "*.BMP" is by far the commonest form
        } else if (noQuestionMark && stars == 1 && pattern.endsWith(u'*')) {
            m_beginnings.insert(pattern.chopped(1));
        } else {
            m_general.insert(pattern);
        }
    }
    m_matchesAll = m_matchesAll || !anyPattern;
}

bool WildcardPattern::matches(QStringView fileName) const
{
    return matchesFolded(caseFolded(fileName));
}

bool WildcardPattern::matchesFolded(QStringView foldedName) const
{
    // Most lists hold one or two kinds; the empty ones must cost nothing for a hundred thousand
    // names.
    return m_matchesAll || (!m_endings.isEmpty() && m_endings.endsWithOne(foldedName)) ||
           (!m_names.isEmpty() && m_names.isOneOf(foldedName)) ||
           (!m_beginnings.isEmpty() && m_beginnings.startsWithOne(foldedName)) ||
           (!m_general.isEmpty() && m_general.matchAny(foldedName));
}

QString WildcardPattern::caseFolded(QStringView text)
{
    QString result(text.size(), Qt::Uninitialized);
    caseFold(text, result.data());
    return result;
}

void WildcardPattern::caseFold(QStringView text, QChar *out)
{
    for (QChar c : text)
        *out++ = QChar(folded(c));
}

}  // namespace vantok
