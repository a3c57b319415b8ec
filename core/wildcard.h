// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringView>

namespace vantok
{

// One or more file-name patterns separated by ';', blanks around each ignored. '*' matches any
// run of characters and '?' exactly one; every other character, '[' included, stands for itself.
// Case does not matter. No pattern at all matches every name.
//
// A pasted list may hold many thousands of patterns and is matched against every name at every
// keystroke, so patterns are sorted by shape: plain names, "*" and plain text, and plain text and
// "*" are found by hash lookups; only the rest are tried one by one.
class WildcardPattern
{
public:
    explicit WildcardPattern(QStringView patterns);

    bool matches(QStringView fileName) const;
    // The same for a name already in caseFolded() form, so a list of names is folded only once.
    bool matchesFolded(QStringView foldedName) const;

    // The case-free form that names and patterns are compared in.
    static QString caseFolded(QStringView text);
    // The same written to `out`, which has room for text.size() units: folding keeps the length.
    static void caseFold(QStringView text, QChar *out);

private:
    // Plain texts that a name must equal, begin with or end with. A few are compared directly;
    // many are kept in one set per length, so that a name takes one lookup per length that occurs.
    class PlainTexts
    {
    public:
        void insert(const QString &text);
        bool isEmpty() const { return m_texts.isEmpty(); }
        bool isOneOf(QStringView name) const;
        bool startsWithOne(QStringView name) const;
        bool endsWithOne(QStringView name) const;

    private:
        QList<QString> m_texts;  // each once
        QMap<qsizetype, QSet<QString>> m_byLength;
    };

    // Patterns with a '?' or a star that is not just in front or at the end. When there are many,
    // each is filed under a piece of its plain text that every name it matches must contain, and
    // a name tries only the patterns filed under its own pieces.
    class GeneralPatterns
    {
    public:
        void insert(const QString &pattern);
        bool isEmpty() const { return m_entries.isEmpty(); }
        bool matchAny(QStringView name) const;

    private:
        struct Entry {
            bool matches(QStringView name) const;

            QString pattern;
            qsizetype shortest = 0;  // one unit per character other than '*'
            qsizetype longest = 0;   // without a star: '?' may take a surrogate pair
        };

        QList<Entry> m_entries;
        QSet<QString> m_seen;
        QHash<quint64, QList<qsizetype>> m_byPiece;
        QList<qsizetype> m_wildcardsOnly;  // no plain text to file them under
        unsigned m_pieceLengths = 0;       // bit n set: some pattern is filed under n units
    };

    bool m_matchesAll = false;
    PlainTexts m_names;
    PlainTexts m_endings;
    PlainTexts m_beginnings;
    GeneralPatterns m_general;
};

}  // namespace vantok
