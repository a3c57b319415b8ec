// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <memory>
#include <vector>

namespace vantok
{

// Whether the folder exists and its entries can be listed.
bool isReadableFolder(const QString &directory);

// What a list shows of a folder. Links count as what they point to; FIFOs, sockets, devices,
// broken links and hidden entries are neither.
enum class EntryKind { File, Folder };

// Names of one folder, sorted without regard to letter case, and by code point where only case
// differs, so the order depends neither on the listing nor on the locale. A snapshot never
// changes, so threads can share it.
class SortedNames
{
public:
    qsizetype size() const { return qsizetype(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    QStringView name(qsizetype i) const { return m_entries[size_t(i)].name(); }
    // The case-folded form that wildcard patterns match against.
    QStringView folded(qsizetype i) const { return m_entries[size_t(i)].folded(); }
    // Where exactly `name` is, or -1.
    qsizetype indexOf(QStringView name) const;
    // Where `name` is or would go: the first name not before it.
    qsizetype placeOf(QStringView name) const;
    QStringList names() const;

    // These names and `more`, with their text laid out in order, so a filter reads it straight
    // through rather than all over memory.
    std::shared_ptr<const SortedNames> mergedWith(const SortedNames &more) const;

    // Collects names one by one, then sorts them once.
    class Builder
    {
    public:
        void add(QStringView name);
        void add(QLatin1StringView name);
        qsizetype size() const { return qsizetype(m_sizes.size()); }
        SortedNames sorted();

    private:
        void folded(qsizetype at, qsizetype size);

        QString m_text;  // each name followed by its folded form
        std::vector<qsizetype> m_offsets;
        std::vector<qsizetype> m_sizes;
    };

private:
    // A name and, right after it in the same text, its folded form.
    struct Entry {
        const QChar *text;
        qsizetype size;
        QStringView name() const { return {text, size}; }
        QStringView folded() const { return {text + size, size}; }
    };
    static bool before(const Entry &a, const Entry &b);
    static void sort(std::vector<Entry> &entries);

    QString m_text;  // what the entries point into, and nothing else
    std::vector<Entry> m_entries;
};

// Reads the folder's entries of `kind` and hands growing snapshots to `deliver`: a first one after
// a thousand names, then one whenever the listing has doubled, and on a slow disk every fifth of a
// second once it has grown by a quarter; at the end the whole listing with `complete` set. Each
// snapshot holds every name read so far, sorted; as they grow geometrically, making them all costs
// a few passes over the names besides the sort. `deliver` returns false to stop the reading. An
// unreadable folder gives one empty complete snapshot.
using NamesDelivery =
    std::function<bool(const std::shared_ptr<const SortedNames> &names, bool complete)>;
void readFolder(const QString &directory, EntryKind kind, const NamesDelivery &deliver);

// The whole listing at once.
std::shared_ptr<const SortedNames> sortedNamesIn(const QString &directory, EntryKind kind);

}  // namespace vantok
