// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/folder_reading.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace vantok;

namespace
{

// Without regard to case, and by code point where only case differs.
bool inWantedOrder(const QString &a, const QString &b)
{
    const int byFolded = a.toCaseFolded().compare(b.toCaseFolded());
    return byFolded != 0 ? byFolded < 0 : a < b;
}

}  // namespace

class FolderReadingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void snapshotsGrowSortedUntilComplete();
    void stopsWhenTheReceiverWantsNoMore();
    void unreadableFolderGivesOneEmptyListing();
    void sortsByFoldedThenExactName_data();
    void sortsByFoldedThenExactName();
    void findsExactName_data();
    void findsExactName();

private:
    QTemporaryDir m_dir;
    QStringList m_sorted;  // what the folder holds, in the order wanted
};

void FolderReadingTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // Enough for several snapshots, with names that differ only in case. Where such names are one
    // file (Windows), each number comes once, its case alternating.
#ifdef Q_OS_WIN
    const int number = 1;
#else
    const int number = 2;
#endif
    for (int i = 0; i < 3000; ++i) {
        const QString name = u"%1%2.bmp"_s.arg(QChar(i % 2 ? u'N' : u'n')).arg(i / number);
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        m_sorted.append(name);
    }
    std::ranges::sort(m_sorted, inWantedOrder);
}

void FolderReadingTest::snapshotsGrowSortedUntilComplete()
{
    QList<qsizetype> sizes;
    QList<bool> completes;
    QStringList last;
    readFolder(m_dir.path(), EntryKind::File, [&](const auto &names, bool complete) {
        sizes.append(names->size());
        completes.append(complete);
        last = names->names();
        return std::ranges::is_sorted(last, inWantedOrder);  // if not, stops and shows below
    });
    QVERIFY2(sizes.size() >= 3, qPrintable(u"%1 snapshots"_s.arg(sizes.size())));
    QVERIFY(std::ranges::is_sorted(sizes, std::less_equal<>()));
    QCOMPARE(completes.count(true), 1);
    QVERIFY(completes.last());
    QCOMPARE(last, m_sorted);
}

void FolderReadingTest::stopsWhenTheReceiverWantsNoMore()
{
    int calls = 0;
    readFolder(m_dir.path(), EntryKind::File, [&](const auto &, bool) {
        ++calls;
        return false;
    });
    QCOMPARE(calls, 1);
}

void FolderReadingTest::unreadableFolderGivesOneEmptyListing()
{
    int calls = 0;
    readFolder(m_dir.filePath(u"missing"_s), EntryKind::Folder, [&](const auto &names, bool done) {
        ++calls;
        return names->isEmpty() && done;
    });
    QCOMPARE(calls, 1);
}

void FolderReadingTest::sortsByFoldedThenExactName_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("one name") << QStringList{u"a"_s};
    QTest::newRow("a shorter name comes first") << QStringList{u"abc"_s, u"ab"_s, u"abcd"_s};
    QTest::newRow("names differing only in case") << QStringList{u"b"_s, u"B"_s, u"a"_s, u"A"_s};
    QTest::newRow("a long shared prefix") << QStringList{
        u"Picture 0000010.bmp"_s, u"picture 0000002.BMP"_s, u"Picture 0000001.bmp"_s};
    QTest::newRow("differing past the first eight units after the shared prefix")
        << QStringList{u"x-abcdefghij2"_s, u"x-ABCDEFGHIJ1"_s, u"x-abcdefghij"_s};
    QTest::newRow("units beyond a byte")
        << QStringList{u"pré"_s, u"pr一"_s, u"prz"_s, u"pr"_s, u"PRÉ"_s};
    QTest::newRow("a surrogate pair sorts by its units") << QStringList{u"�"_s, u"😀"_s, u"z"_s};
}

void FolderReadingTest::sortsByFoldedThenExactName()
{
    QFETCH(QStringList, names);
    SortedNames::Builder builder;
    for (const QString &name : names)
        builder.add(name);
    std::ranges::sort(names, inWantedOrder);
    QCOMPARE(builder.sorted().names(), names);
}

void FolderReadingTest::findsExactName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
#ifdef Q_OS_WIN
    QTest::newRow("exact name") << u"N7.bmp"_s << true;
    QTest::newRow("other case of the name") << u"n7.bmp"_s << false;
    QTest::newRow("absent") << u"n3000.bmp"_s << false;
#else
    QTest::newRow("lower-case twin") << u"n7.bmp"_s << true;
    QTest::newRow("upper-case twin") << u"N7.bmp"_s << true;
    QTest::newRow("other case is another name") << u"n7.BMP"_s << false;
    QTest::newRow("absent") << u"n1500.bmp"_s << false;
#endif
}

void FolderReadingTest::findsExactName()
{
    QFETCH(QString, name);
    QFETCH(bool, found);
    const auto names = sortedNamesIn(m_dir.path(), EntryKind::File);
    const qsizetype index = names->indexOf(name);
    QCOMPARE(index >= 0, found);
    if (found)
        QCOMPARE(names->name(index), name);
}

QTEST_GUILESS_MAIN(FolderReadingTest)
#include "test_folder_reading.moc"
