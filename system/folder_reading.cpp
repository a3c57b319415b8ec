// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/folder_reading.h"
#include "core/file_name.h"
#include "core/wildcard.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <iterator>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace vantok
{

bool isReadableFolder(const QString &directory)
{
    const QFileInfo folder(directory);
#ifdef Q_OS_UNIX
    return folder.isDir() && folder.isReadable() && folder.isExecutable();  // x lets us list
#else
    return folder.isDir() && folder.isReadable();
#endif
}

qsizetype SortedNames::indexOf(QStringView name) const
{
    const qsizetype place = placeOf(name);
    return place < size() && this->name(place) == name ? place : -1;
}

qsizetype SortedNames::placeOf(QStringView name) const
{
    const QString folded = WildcardPattern::caseFolded(name);
    const auto found =
        std::partition_point(m_entries.begin(), m_entries.end(), [&](const Entry &e) {
            const int byFolded = e.folded().compare(folded);
            return byFolded != 0 ? byFolded < 0 : e.name().compare(name) < 0;
        });
    return qsizetype(found - m_entries.begin());
}

QStringList SortedNames::names() const
{
    QStringList names;
    names.reserve(size());
    for (const Entry &entry : m_entries)
        names.append(entry.name().toString());
    return names;
}

bool SortedNames::before(const Entry &a, const Entry &b)
{
    const int byFolded = a.folded().compare(b.folded());
    return byFolded != 0 ? byFolded < 0 : a.name().compare(b.name()) < 0;
}

std::shared_ptr<const SortedNames> SortedNames::mergedWith(const SortedNames &more) const
{
    auto merged = std::make_shared<SortedNames>();
    merged->m_text = QString(m_text.size() + more.m_text.size(), Qt::Uninitialized);
    merged->m_entries.reserve(m_entries.size() + more.m_entries.size());
    QChar *out = merged->m_text.data();
    auto mine = m_entries.begin();
    auto theirs = more.m_entries.begin();
    while (mine != m_entries.end() || theirs != more.m_entries.end()) {
        const bool takeMine =
            theirs == more.m_entries.end() || (mine != m_entries.end() && !before(*theirs, *mine));
        const Entry &next = takeMine ? *mine++ : *theirs++;
        std::copy_n(next.text, 2 * next.size, out);
        merged->m_entries.push_back({out, next.size});
        out += 2 * next.size;
    }
    return merged;
}

void SortedNames::Builder::add(QStringView name)
{
    const qsizetype at = m_text.size();
    m_text.append(name);
    folded(at, name.size());
}

void SortedNames::Builder::add(QLatin1StringView name)
{
    const qsizetype at = m_text.size();
    m_text.append(name);
    folded(at, name.size());
}

// Appends the folded form of the name that starts at `at`.
void SortedNames::Builder::folded(qsizetype at, qsizetype size)
{
    m_text.resize(at + 2 * size);
    QChar *text = m_text.data();
    WildcardPattern::caseFold(QStringView(text + at, size), text + at + size);
    m_offsets.push_back(at);
    m_sizes.push_back(size);
}

SortedNames SortedNames::Builder::sorted()
{
    SortedNames names;
    names.m_text = std::move(m_text);
    const QChar *text = names.m_text.constData();
    names.m_entries.reserve(m_offsets.size());
    for (size_t i = 0; i < m_offsets.size(); ++i)
        names.m_entries.push_back({text + m_offsets[i], m_sizes[i]});
    sort(names.m_entries);
    *this = {};
    return names;
}

// Most comparisons are settled by a number made of the few units that follow the prefix all the
// names share, without reading the names themselves, which lie all over memory: a million names
// sort in less than half the time. Units missing at a name's end count as 0, below any unit a
// name can hold, so a shorter name still comes first.
void SortedNames::sort(std::vector<Entry> &entries)
{
    if (entries.empty())
        return;
    const QStringView first = entries.front().folded();
    qsizetype shared = first.size();
    for (const Entry &entry : entries) {
        const QStringView folded = entry.folded().first(std::min(shared, entry.size));
        shared = std::mismatch(folded.begin(), folded.end(), first.begin()).first - folded.begin();
    }
    // Eight units of a byte each when every one fits, else four of sixteen bits.
    bool bytes = true;
    for (const Entry &entry : entries) {
        const QStringView folded = entry.folded();
        for (qsizetype i = shared; i < std::min(shared + 8, folded.size()); ++i)
            bytes = bytes && folded[i].unicode() < 0x100;
    }
    const int units = bytes ? 8 : 4;
    const int bits = bytes ? 8 : 16;

    struct Keyed {
        quint64 key;
        Entry entry;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (const Entry &entry : entries) {
        const QStringView folded = entry.folded();
        quint64 key = 0;
        for (qsizetype i = shared; i < shared + units; ++i)
            key = (key << bits) | (i < folded.size() ? folded[i].unicode() : 0u);
        keyed.push_back({key, entry});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        return a.key != b.key ? a.key < b.key : before(a.entry, b.entry);
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        entries[i] = keyed[i].entry;
}

namespace
{

constexpr qsizetype FirstSnapshot = 1024;
constexpr int SnapshotIntervalMs = 200;

// Gathers names into batches and hands out a merged snapshot whenever the batch is as large as
// what was handed out before, or time is up.
class SnapshotFeed
{
public:
    explicit SnapshotFeed(const NamesDelivery &deliver)
        : m_deliver(deliver), m_shown(std::make_shared<SortedNames>())
    {
    }

    SortedNames::Builder &batch() { return m_batch; }

    // False when the receiver wants no more.
    bool maybeDeliver()
    {
        // Each snapshot costs a pass over all names, on both threads. Growing by a quarter at
        // least keeps their sum linear, and doubling keeps their number small when reading is
        // quick. The clock only now and then: a million names would read it a million times.
        const qsizetype size = m_batch.size();
        const qsizetype shown = m_shown->size();
        const bool due = size >= std::max(FirstSnapshot, shown) ||
                         (size >= shown / 4 && size % 64 == 0 && m_interval.hasExpired());
        if (!due)
            return true;
        m_stopped = !deliver(false);
        return !m_stopped;
    }

    void finish()
    {
        if (!m_stopped)
            deliver(true);
    }

private:
    bool deliver(bool complete)
    {
        if (m_batch.size() > 0 || complete) {
            m_shown = m_shown->mergedWith(m_batch.sorted());
            m_interval.setRemainingTime(SnapshotIntervalMs);
            return m_deliver(m_shown, complete);
        }
        m_interval.setRemainingTime(SnapshotIntervalMs);
        return true;
    }

    const NamesDelivery &m_deliver;
    std::shared_ptr<const SortedNames> m_shown;
    SortedNames::Builder m_batch;
    QDeadlineTimer m_interval{SnapshotIntervalMs};
    bool m_stopped = false;
};

#ifdef Q_OS_UNIX

// The entry's kind, following a link; a stat only when the listing cannot tell.
bool isOfKind(int folder, const dirent &entry, EntryKind kind)
{
    switch (entry.d_type) {
    case DT_REG:
        return kind == EntryKind::File;
    case DT_DIR:
        return kind == EntryKind::Folder;
    case DT_LNK:
    case DT_UNKNOWN:
        break;
    default:
        return false;  // FIFO, socket, device
    }
    struct stat target;
    if (::fstatat(folder, entry.d_name, &target, 0) != 0)
        return false;  // a broken link, or gone since
    return kind == EntryKind::File ? S_ISREG(target.st_mode) : S_ISDIR(target.st_mode);
}

bool isAscii(const char *name)
{
    for (; *name; ++name) {
        if (static_cast<unsigned char>(*name) >= 0x80)
            return false;
    }
    return true;
}

// Straight from readdir: QDirIterator would stat every entry to learn what the listing already
// says, which takes several times as long in a big folder.
void readEntries(const QString &directory, EntryKind kind, SnapshotFeed &feed)
{
    DIR *folder = ::opendir(FileName(directory).native().constData());
    if (!folder)
        return;
    const int descriptor = ::dirfd(folder);
    while (const dirent *entry = ::readdir(folder)) {
        if (entry->d_name[0] == '.' || !isOfKind(descriptor, *entry, kind))
            continue;  // hidden, and the folder itself and its parent
        if (isAscii(entry->d_name))
            feed.batch().add(QLatin1StringView(entry->d_name));
        else
            feed.batch().add(FileName::fromNative(entry->d_name).text());  // every byte kept
        if (!feed.maybeDeliver())
            break;
    }
    ::closedir(folder);
}

#else

void readEntries(const QString &directory, EntryKind kind, SnapshotFeed &feed)
{
    QDirIterator entries(directory, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo entry = entries.fileInfo();
        if (kind == EntryKind::File ? !entry.isFile() : !entry.isDir())
            continue;
        feed.batch().add(entries.fileName());
        if (!feed.maybeDeliver())
            break;
    }
}

#endif

}  // namespace

void readFolder(const QString &directory, EntryKind kind, const NamesDelivery &deliver)
{
    SnapshotFeed feed(deliver);
    readEntries(directory, kind, feed);
    feed.finish();
}

std::shared_ptr<const SortedNames> sortedNamesIn(const QString &directory, EntryKind kind)
{
    std::shared_ptr<const SortedNames> all;
    readFolder(directory, kind, [&](const std::shared_ptr<const SortedNames> &names, bool) {
        all = names;
        return true;
    });
    return all;
}

}  // namespace vantok
