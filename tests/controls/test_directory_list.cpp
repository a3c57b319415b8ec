// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/directory_list.h"
#include "fake_volumes.h"
#include "tests/support/odd_file_types.h"
#include "tests/support/sorted_names.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;
using vantok::DirectoryList;
using vantok::FolderReader;
using vantok::test::snapshot;

namespace
{

// "d000" to "d<to - 1>", every `step`th.
QStringList numberedNames(int to, int step = 1)
{
    QStringList names;
    for (int i = 0; i < to; i += step)
        names.append(u"d%1"_s.arg(i, 3, 10, QLatin1Char('0')));
    return names;
}

}  // namespace

class DirectoryListTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void showsChainThenSubFolders();
    void enters_data();
    void enters();
    void entersWithEnterKey();
    void entersRootEntryItself();
    void setPathGoesToFolder_data();
    void setPathGoesToFolder();
    void samePathRaisesNothing();
    void vanishedFolderKeepsPath();
    void listsFoldersAndLinksToThem();
    void bigFolderEndsCompleteAndSorted();
    void fillsInKeepingHighlightAndPlace_data();
    void fillsInKeepingHighlightAndPlace();

private:
    QString at(const QString &relative) const;
    QModelIndex entry(const QString &text) const;
    // Every entry top to bottom as "depth:text".
    QStringList entries() const;
    // The current directory's sub-folders, in order.
    QStringList subFolders() const;
    QString highlighted() const { return m_list->currentIndex().data().toString(); }
    void showList();
    // A real double-click starts with a press and a release; QTest sends only the second press.
    void doubleClick(const QModelIndex &index);

    std::optional<QTemporaryDir> m_dir;
    std::unique_ptr<DirectoryList> m_list;
};

QString DirectoryListTest::at(const QString &relative) const
{
    return QDir::toNativeSeparators(QDir::cleanPath(m_dir->filePath(relative)));
}

QModelIndex DirectoryListTest::entry(const QString &text) const
{
    const QAbstractItemModel *model = m_list->model();
    const auto found = model->match(model->index(0, 0), Qt::DisplayRole, text, -1,
                                    Qt::MatchExactly | Qt::MatchRecursive);
    return found.size() == 1 ? found.first() : QModelIndex();
}

QStringList DirectoryListTest::entries() const
{
    QStringList shown;
    for (QModelIndex at = m_list->model()->index(0, 0); at.isValid(); at = m_list->indexBelow(at)) {
        int depth = 0;
        for (QModelIndex up = at.parent(); up.isValid(); up = up.parent())
            ++depth;
        shown.append(u"%1:%2"_s.arg(depth).arg(at.data().toString()));
    }
    return shown;
}

QStringList DirectoryListTest::subFolders() const
{
    const QModelIndex here = entry(QDir(m_list->path()).dirName());
    QStringList names;
    for (int row = 0; row < m_list->model()->rowCount(here); ++row)
        names.append(m_list->model()->index(row, 0, here).data().toString());
    return names;
}

void DirectoryListTest::init()
{
    m_list.reset();
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
    QDir dir(m_dir->path());
    for (const QString &folder : {u"a/b"_s, u"a/Zed"_s, u"a/apple/core"_s, u"a/.hidden"_s})
        QVERIFY(dir.mkpath(folder));
    QFile file(at(u"a/file.txt"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));

    FakeVolumes machine;
    machine.mounted = {{u"/"_s, {}, "ext4"}};
    machine.current = m_dir->filePath(u"a"_s);
    machine.home = u"/root"_s;
    m_list = std::make_unique<DirectoryList>(machine);
    QTRY_VERIFY(!m_list->isReading());
}

void DirectoryListTest::doubleClick(const QModelIndex &index)
{
    const QPoint centre = m_list->visualRect(index).center();
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {}, centre);
}

void DirectoryListTest::showList()
{
    m_list->resize(200, 400);
    m_list->show();
    m_list->setFocus();
    QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
}

void DirectoryListTest::showsChainThenSubFolders()
{
    QCOMPARE(m_list->path(), at(u"a"_s));
    QStringList expected;
    QStringList chain = at(u"a"_s).split(QDir::separator(), Qt::SkipEmptyParts);
#ifdef Q_OS_WIN
    chain.removeFirst();  // the drive, which the root's entry shows
#endif
    expected.append(u"0:"_s + QDir::toNativeSeparators(QDir::rootPath()));
    for (int i = 0; i < chain.size(); ++i)
        expected.append(u"%1:%2"_s.arg(i + 1).arg(chain.at(i)));
    // sorted without regard to case; the hidden folder and the file are left out
    for (const QString &sub : {u"apple"_s, u"b"_s, u"Zed"_s})
        expected.append(u"%1:%2"_s.arg(chain.size() + 1).arg(sub));
    QCOMPARE(entries(), expected);
    QCOMPARE(highlighted(), u"a"_s);
}

void DirectoryListTest::enters_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("path");
    QTest::newRow("a sub-folder") << u"apple"_s << u"a/apple"_s;
    QTest::newRow("a folder up the chain") << QString() << u"."_s;  // the temporary folder
}

void DirectoryListTest::enters()
{
    QFETCH(QString, entry);
    QFETCH(QString, path);
    showList();
    QSignalSpy changed(m_list.get(), &DirectoryList::changed);
    const QModelIndex index = this->entry(entry.isEmpty() ? QDir(m_dir->path()).dirName() : entry);
    QVERIFY(index.isValid());
    doubleClick(index);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_list->path(), at(path));
    QCOMPARE(highlighted(), QDir(at(path)).dirName());
}

void DirectoryListTest::entersWithEnterKey()
{
    showList();
    QSignalSpy changed(m_list.get(), &DirectoryList::changed);
    m_list->setCurrentIndex(entry(u"Zed"_s));
    QCOMPARE(changed.count(), 0);  // moving the highlight is no change of path
    QTest::keyClick(m_list.get(), Qt::Key_Return);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_list->path(), at(u"a/Zed"_s));
}

// The root entry is a folder like any other, not the root drive's remembered directory.
void DirectoryListTest::entersRootEntryItself()
{
    showList();
    QSignalSpy changed(m_list.get(), &DirectoryList::changed);
    doubleClick(m_list->model()->index(0, 0));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_list->path(), QDir::toNativeSeparators(QDir::rootPath()));
}

void DirectoryListTest::setPathGoesToFolder_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("absolute");
    QTest::newRow("absolute") << u"a/apple/core"_s << u"a/apple/core"_s << true;
    QTest::newRow("relative to the shown folder") << u"apple"_s << u"a/apple"_s << false;
    QTest::newRow("trailing separator dropped") << u"a/b/"_s << u"a/b"_s << true;
}

void DirectoryListTest::setPathGoesToFolder()
{
    QFETCH(QString, given);
    QFETCH(QString, path);
    QFETCH(bool, absolute);
    QSignalSpy changed(m_list.get(), &DirectoryList::changed);
    QVERIFY(m_list->setPath(absolute ? m_dir->path() + u'/' + given : given));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_list->path(), at(path));
}

void DirectoryListTest::samePathRaisesNothing()
{
    QSignalSpy changed(m_list.get(), &DirectoryList::changed);
    QVERIFY(m_list->setPath(m_dir->filePath(u"a"_s)));
    QCOMPARE(changed.count(), 0);
}

void DirectoryListTest::vanishedFolderKeepsPath()
{
    showList();
    const QStringList before = entries();
    QVERIFY(QDir(at(u"a/b"_s)).removeRecursively());
    QSignalSpy changed(m_list.get(), &DirectoryList::changed);

    doubleClick(entry(u"b"_s));
    QVERIFY(!m_list->setPath(m_dir->filePath(u"a/b"_s)));

    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_list->path(), at(u"a"_s));
    QCOMPARE(entries(), before);  // the list still shows the folder as it was read
}

// A link to a file, to a device or to nothing is no folder, nor is a FIFO or a socket.
void DirectoryListTest::listsFoldersAndLinksToThem()
{
#ifdef Q_OS_UNIX
    QVERIFY(vantok::test::makeFifo(at(u"a/pipe"_s)));
    QVERIFY(vantok::test::makeSocket(at(u"a/socket"_s)));
    QVERIFY(QFile::link(u"/dev/zero"_s, at(u"a/zero"_s)));
    QVERIFY(QFile::link(at(u"a/file.txt"_s), at(u"a/file-link"_s)));
    QVERIFY(QFile::link(at(u"a/missing"_s), at(u"a/broken-link"_s)));
    QVERIFY(QFile::link(at(u"a/b"_s), at(u"a/b-link"_s)));
    QVERIFY(m_list->setPath(at(u"a"_s)));  // read again
    QTRY_COMPARE(subFolders(), (QStringList{u"apple"_s, u"b"_s, u"b-link"_s, u"Zed"_s}));
#else
    QSKIP("FIFOs, sockets and devices in folders are Unix's");
#endif
}

// More sub-folders than one report holds, made out of order and in mixed case.
void DirectoryListTest::bigFolderEndsCompleteAndSorted()
{
    QStringList expected;
    QDir big(at(u"a/b"_s));
    for (int i = 2999; i >= 0; --i) {
        const QString name = u"%1%2"_s.arg(i % 2 ? u"Dir"_s : u"dir"_s).arg(i, 4, 10, QChar(u'0'));
        QVERIFY(big.mkdir(name));
        expected.append(name);
    }
    std::ranges::sort(expected, [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QVERIFY(m_list->setPath(big.path()));
    QTRY_VERIFY(!m_list->isReading());
    QCOMPARE(subFolders(), expected);
}

void DirectoryListTest::fillsInKeepingHighlightAndPlace_data()
{
    QTest::addColumn<QString>("highlight");  // an entry's text
    QTest::addColumn<QString>("top");        // the sub-folder scrolled to the top, if any
    QTest::newRow("current folder stays highlighted") << u"a"_s << QString();
    QTest::newRow("sub-folder stays highlighted") << u"d010"_s << QString();
    QTest::newRow("scrolled-to sub-folder stays at the top") << u"d010"_s << u"d200"_s;
    QTest::newRow("scrolled place stays with the folder highlighted") << u"a"_s << u"d300"_s;
}

// Reports as a big folder gives them, by hand so each step can be looked at: names arrive among
// those shown, and the highlighted entry and the scrolled-to place stay.
void DirectoryListTest::fillsInKeepingHighlightAndPlace()
{
    QFETCH(QString, highlight);
    QFETCH(QString, top);
    showList();
    auto *reader = m_list->findChild<FolderReader *>();
    QVERIFY(reader);
    QSignalSpy changed(m_list.get(), &DirectoryList::changed);
    const auto topName = [&] { return m_list->indexAt({0, 0}).data().toString(); };
    const QString start = topName();

    emit reader->namesRead(snapshot(numberedNames(400, 2)), false);
    QCOMPARE(subFolders(), numberedNames(400, 2));
    m_list->setCurrentIndex(entry(highlight));
    if (!top.isEmpty())
        m_list->scrollTo(entry(top), DirectoryList::PositionAtTop);
    QCOMPARE(topName(), top.isEmpty() ? start : top);

    emit reader->namesRead(snapshot(numberedNames(400)), false);
    QCOMPARE(subFolders(), numberedNames(400));
    QCOMPARE(highlighted(), highlight);
    QCOMPARE(topName(), top.isEmpty() ? start : top);

    emit reader->namesRead(snapshot(numberedNames(400) + QStringList{u"D050"_s}), true);
    QCOMPARE(subFolders().mid(49, 3), (QStringList{u"d049"_s, u"D050"_s, u"d050"_s}));
    QCOMPARE(highlighted(), highlight);
    QCOMPARE(topName(), top.isEmpty() ? start : top);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_list->path(), at(u"a"_s));
}

QTEST_MAIN(DirectoryListTest)
#include "test_directory_list.moc"
