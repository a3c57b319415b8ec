// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/directory_list.h"
#include "fake_volumes.h"
#include "tests/support/odd_file_types.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;
using vantok::DirectoryList;

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

private:
    QString at(const QString &relative) const;
    QTreeWidgetItem *entry(const QString &text) const;
    // Every entry top to bottom as "depth:text".
    QStringList entries() const;
    void showList();
    // A real double-click starts with a press and a release; QTest sends only the second press.
    void doubleClick(QTreeWidgetItem *item);

    std::optional<QTemporaryDir> m_dir;
    std::unique_ptr<DirectoryList> m_list;
};

QString DirectoryListTest::at(const QString &relative) const
{
    return QDir::toNativeSeparators(QDir::cleanPath(m_dir->filePath(relative)));
}

QTreeWidgetItem *DirectoryListTest::entry(const QString &text) const
{
    const auto found = m_list->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.size() == 1 ? found.first() : nullptr;
}

QStringList DirectoryListTest::entries() const
{
    QStringList shown;
    for (QTreeWidgetItemIterator it(m_list.get()); *it; ++it) {
        int depth = 0;
        for (auto *up = (*it)->parent(); up; up = up->parent())
            ++depth;
        shown.append(u"%1:%2"_s.arg(depth).arg((*it)->text(0)));
    }
    return shown;
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

void DirectoryListTest::doubleClick(QTreeWidgetItem *item)
{
    const QPoint centre = m_list->visualItemRect(item).center();
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
    const QStringList chain = at(u"a"_s).split(QDir::separator(), Qt::SkipEmptyParts);
    expected.append(u"0:"_s + QDir::toNativeSeparators(QDir::rootPath()));
    for (int i = 0; i < chain.size(); ++i)
        expected.append(u"%1:%2"_s.arg(i + 1).arg(chain.at(i)));
    // sorted without regard to case; the hidden folder and the file are left out
    for (const QString &sub : {u"apple"_s, u"b"_s, u"Zed"_s})
        expected.append(u"%1:%2"_s.arg(chain.size() + 1).arg(sub));
    QCOMPARE(entries(), expected);
    QCOMPARE(m_list->currentItem()->text(0), u"a"_s);
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
    QTreeWidgetItem *item = this->entry(entry.isEmpty() ? QDir(m_dir->path()).dirName() : entry);
    QVERIFY(item);
    doubleClick(item);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_list->path(), at(path));
    QCOMPARE(m_list->currentItem()->text(0), QDir(at(path)).dirName());
}

void DirectoryListTest::entersWithEnterKey()
{
    showList();
    QSignalSpy changed(m_list.get(), &DirectoryList::changed);
    m_list->setCurrentItem(entry(u"Zed"_s));
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
    QTreeWidgetItem *root = m_list->topLevelItem(0);
    doubleClick(root);
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
    const auto subFolders = [&] {
        QStringList names;
        for (int i = 0; i < m_list->currentItem()->childCount(); ++i)
            names.append(m_list->currentItem()->child(i)->text(0));
        return names;
    };
    QTRY_COMPARE(subFolders(), (QStringList{u"apple"_s, u"b"_s, u"b-link"_s, u"Zed"_s}));
#else
    QSKIP("FIFOs, sockets and devices in folders are Unix's");
#endif
}

QTEST_MAIN(DirectoryListTest)
#include "test_directory_list.moc"
