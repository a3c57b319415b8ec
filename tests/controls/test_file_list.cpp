// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/file_list.h"
#include "tests/support/odd_file_types.h"
#include "tests/support/sorted_names.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;
using vantok::FileList;
using vantok::FolderReader;
using vantok::test::snapshot;

namespace
{

// "f000.bmp" to "f<to - 1>.bmp", every `step`th.
QStringList numberedNames(int to, int step = 1)
{
    QStringList names;
    for (int i = 0; i < to; i += step)
        names.append(u"f%1.bmp"_s.arg(i, 3, 10, QLatin1Char('0')));
    return names;
}

}  // namespace

class FileListTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void filters_data();
    void filters();
    void reportsPathWithSeparatorOnlyAtRoot_data();
    void reportsPathWithSeparatorOnlyAtRoot();
    void arrowKeysRaiseClickedOncePerStep();
    void clickOnAnotherFileRaisesOnce();
    void clickOnSelectedFileRaisesAgain();
    void refilterKeepsSelectionQuietly();
    void refilterDoesNotReadTheFolder();
    void watcherPicksUpNewFile();
    void vanishedSelectionLeavesFocusInItsPlace();
    void settingPathReadsAgainAndClearsSelection();
    void listsRegularFilesAndLinksToThem();
    void bigFolderEndsCompleteSortedAndFiltered();
    void fillsInKeepingSelectionPatternAndPlace();

private:
    void touch(const QString &name);
    void showList();
    void click(int row);

    std::optional<QTemporaryDir> m_dir;
    std::unique_ptr<FileList> m_list;
};

void FileListTest::touch(const QString &name)
{
    QFile file(m_dir->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void FileListTest::init()
{
    m_list.reset();
    m_dir.emplace();  // a fresh folder per test: some tests delete or add files
    QVERIFY(m_dir->isValid());
    for (const QString &name : {u"SKY.BMP"_s, u"sea.bmp"_s, u"Icon.ICO"_s, u"photo.pcx"_s,
                                u"notes.txt"_s, u".hidden.bmp"_s})
        touch(name);
    QVERIFY(QDir(m_dir->path()).mkdir(u"folder.bmp"_s));
    m_list = std::make_unique<FileList>();
    m_list->setPath(m_dir->path());
    QTRY_VERIFY(!m_list->isReading());
}

void FileListTest::showList()
{
    m_list->resize(200, 300);
    m_list->show();
    m_list->setFocus();
    QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
}

void FileListTest::click(int row)
{
    const QRect place = m_list->visualRect(m_list->model()->index(row, 0));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, place.center());
}

void FileListTest::filters_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("two patterns, any letter case")
        << u"*.BMP;*.ICO"_s << QStringList{u"Icon.ICO"_s, u"sea.bmp"_s, u"SKY.BMP"_s};
    QTest::newRow("one pattern") << u"*.ICO"_s << QStringList{u"Icon.ICO"_s};
    QTest::newRow("hidden files and folders are left out")
        << u"*.bmp"_s << QStringList{u"sea.bmp"_s, u"SKY.BMP"_s};
    QTest::newRow("empty pattern lists every visible file")
        << u""_s
        << QStringList{u"Icon.ICO"_s, u"notes.txt"_s, u"photo.pcx"_s, u"sea.bmp"_s, u"SKY.BMP"_s};
    QTest::newRow("half-typed pattern lists what it matches") << u"*.B"_s << QStringList{};
}

void FileListTest::filters()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, shown);
    m_list->setPattern(pattern);
    QCOMPARE(m_list->pattern(), pattern);
    QCOMPARE(m_list->fileNames(), shown);
}

void FileListTest::reportsPathWithSeparatorOnlyAtRoot_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("reported");
    const QString dir = QDir::toNativeSeparators(m_dir->path());
    QTest::newRow("folder given with a trailing separator") << dir + QDir::separator() << dir;
    QTest::newRow("folder given with a dot-dot step") << m_dir->path() + u"/folder.bmp/.."_s << dir;
    QTest::newRow("root keeps its separator")
        << QDir::rootPath() << QDir::toNativeSeparators(QDir::rootPath());
}

void FileListTest::reportsPathWithSeparatorOnlyAtRoot()
{
    QFETCH(QString, given);
    QFETCH(QString, reported);
    m_list->setPath(given);
    QCOMPARE(m_list->path(), reported);
}

void FileListTest::arrowKeysRaiseClickedOncePerStep()
{
    m_list->setPattern(u"*.bmp;*.ico"_s);
    showList();
    QSignalSpy clicked(m_list.get(), &FileList::clicked);
    QCOMPARE(m_list->fileName(), QString());

    QTest::keyClick(m_list.get(), Qt::Key_Down);  // the first press selects the first file
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(m_list->fileName(), u"Icon.ICO"_s);
    QTest::keyClick(m_list.get(), Qt::Key_Down);
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(m_list->fileName(), u"sea.bmp"_s);
    QTest::keyClick(m_list.get(), Qt::Key_Down);
    QCOMPARE(clicked.count(), 3);
    QCOMPARE(m_list->fileName(), u"SKY.BMP"_s);
    QTest::keyClick(m_list.get(), Qt::Key_Up);
    QCOMPARE(clicked.count(), 4);
    QCOMPARE(m_list->fileName(), u"sea.bmp"_s);
}

void FileListTest::clickOnAnotherFileRaisesOnce()
{
    m_list->setPattern(u"*.bmp;*.ico"_s);
    showList();
    QSignalSpy clicked(m_list.get(), &FileList::clicked);
    click(0);
    QCOMPARE(clicked.count(), 1);
    click(2);
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(m_list->fileName(), u"SKY.BMP"_s);
}

void FileListTest::clickOnSelectedFileRaisesAgain()
{
    m_list->setPattern(u"*.bmp;*.ico"_s);
    showList();
    QSignalSpy clicked(m_list.get(), &FileList::clicked);
    click(1);
    QCOMPARE(clicked.count(), 1);
    click(1);
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(m_list->fileName(), u"sea.bmp"_s);
}

void FileListTest::refilterKeepsSelectionQuietly()
{
    m_list->setPattern(u"*.bmp;*.ico"_s);
    showList();
    click(1);
    QSignalSpy clicked(m_list.get(), &FileList::clicked);
    m_list->setPattern(u"*.bmp"_s);
    QCOMPARE(m_list->fileName(), u"sea.bmp"_s);
    m_list->setPattern(u"*.ico"_s);
    QCOMPARE(m_list->fileName(), QString());
    m_list->setPattern(u"*.bmp"_s);  // the selection went with the file and does not come back
    QCOMPARE(m_list->fileName(), QString());
    QCOMPARE(clicked.count(), 0);
}

void FileListTest::refilterDoesNotReadTheFolder()
{
    QVERIFY(QFile::remove(m_dir->filePath(u"SKY.BMP"_s)));
    m_list->setPattern(u"*.bmp"_s);  // no event has run, so the watcher cannot have re-read yet
    QCOMPARE(m_list->fileNames(), (QStringList{u"sea.bmp"_s, u"SKY.BMP"_s}));
    QTRY_COMPARE(m_list->fileNames(), QStringList{u"sea.bmp"_s});
}

void FileListTest::watcherPicksUpNewFile()
{
    m_list->setPattern(u"*.bmp"_s);
    touch(u"new.BMP"_s);
    touch(u"new.txt"_s);
    QTRY_COMPARE(m_list->fileNames(), (QStringList{u"new.BMP"_s, u"sea.bmp"_s, u"SKY.BMP"_s}));
}

// The arrow keys go on from where the file was, not from the top.
void FileListTest::vanishedSelectionLeavesFocusInItsPlace()
{
    m_list->setPattern(u"*.bmp;*.ico"_s);
    showList();
    click(1);
    QCOMPARE(m_list->fileName(), u"sea.bmp"_s);
    QVERIFY(QFile::remove(m_dir->filePath(u"sea.bmp"_s)));
    QTRY_COMPARE(m_list->fileNames(), (QStringList{u"Icon.ICO"_s, u"SKY.BMP"_s}));
    QCOMPARE(m_list->fileName(), QString());
    QTest::keyClick(m_list.get(), Qt::Key_Down);
    QCOMPARE(m_list->fileName(), u"SKY.BMP"_s);
}

void FileListTest::settingPathReadsAgainAndClearsSelection()
{
    m_list->setPattern(u"*.bmp"_s);
    showList();
    click(0);
    QSignalSpy clicked(m_list.get(), &FileList::clicked);
    touch(u"added.bmp"_s);
    m_list->setPath(m_dir->path());
    QCOMPARE(m_list->fileName(), QString());
    QTRY_COMPARE(m_list->fileNames(), (QStringList{u"added.bmp"_s, u"sea.bmp"_s, u"SKY.BMP"_s}));
    QCOMPARE(clicked.count(), 0);
}

// A FIFO, a socket or a device means nothing to a picture loader and may keep it waiting,
// whatever it is called; a link counts as what it points to.
void FileListTest::listsRegularFilesAndLinksToThem()
{
#ifdef Q_OS_UNIX
    const QDir dir(m_dir->path());
    QVERIFY(vantok::test::makeFifo(dir.filePath(u"pipe.bmp"_s)));
    QVERIFY(vantok::test::makeSocket(dir.filePath(u"socket.bmp"_s)));
    QVERIFY(QFile::link(u"/dev/zero"_s, dir.filePath(u"zero.bmp"_s)));
    QVERIFY(QFile::link(dir.filePath(u"pipe.bmp"_s), dir.filePath(u"pipe-link.bmp"_s)));
    QVERIFY(QFile::link(dir.filePath(u"folder.bmp"_s), dir.filePath(u"folder-link.bmp"_s)));
    QVERIFY(QFile::link(dir.filePath(u"missing.bmp"_s), dir.filePath(u"broken-link.bmp"_s)));
    QVERIFY(QFile::link(dir.filePath(u"SKY.BMP"_s), dir.filePath(u"sky-link.bmp"_s)));
    m_list->setPattern(u"*.bmp"_s);
    m_list->setPath(m_dir->path());
    QTRY_COMPARE(m_list->fileNames(), (QStringList{u"sea.bmp"_s, u"sky-link.bmp"_s, u"SKY.BMP"_s}));
#else
    QSKIP("FIFOs, sockets and devices in folders are Unix's");
#endif
}

// More names than one report holds, created out of order and in mixed case, with the pattern
// changed while the folder is being read.
void FileListTest::bigFolderEndsCompleteSortedAndFiltered()
{
    QStringList expected;
    for (int i = 2999; i >= 0; --i) {
        const QString name = u"%1%2.%3"_s.arg(i % 2 ? u"Pic"_s : u"pic"_s)
                                 .arg(i, 4, 10, QLatin1Char('0'))
                                 .arg(i % 3 ? u"bmp"_s : u"txt"_s);
        touch(name);
        if (i % 3)
            expected.append(name);
    }
    std::ranges::sort(expected, [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    m_list->setPath(m_dir->path());
    m_list->setPattern(u"p*.bmp"_s);
    QTRY_VERIFY(!m_list->isReading());
    QCOMPARE(m_list->fileNames(), expected);
}

// Reports as a big folder gives them, by hand so each step can be looked at: the selection and
// the scrolled-to place stay, a pattern typed meanwhile applies, and once the listing is whole a
// re-read's partial report changes nothing.
void FileListTest::fillsInKeepingSelectionPatternAndPlace()
{
    showList();
    m_list->setPath(m_dir->path());  // its own report waits for the event loop, which never runs
    auto *reader = m_list->findChild<FolderReader *>();
    QVERIFY(reader);
    QSignalSpy clicked(m_list.get(), &FileList::clicked);
    const auto topName = [&] { return m_list->model()->data(m_list->indexAt({0, 0})).toString(); };

    emit reader->namesRead(snapshot(numberedNames(400, 2)), false);
    QCOMPARE(m_list->model()->rowCount(), 200);
    click(5);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(m_list->fileName(), u"f010.bmp"_s);

    emit reader->namesRead(snapshot(numberedNames(400)), false);
    QCOMPARE(m_list->fileName(), u"f010.bmp"_s);
    QCOMPARE(topName(), u"f000.bmp"_s);  // at the start, the list stays at the start

    m_list->setPattern(u"*0.bmp;*5.bmp"_s);
    QCOMPARE(m_list->model()->rowCount(), 80);
    m_list->scrollTo(m_list->model()->index(40, 0), FileList::PositionAtTop);
    QCOMPARE(topName(), u"f200.bmp"_s);
    emit reader->namesRead(snapshot(numberedNames(400) + QStringList{u"f1000.bmp"_s}), false);
    QCOMPARE(m_list->model()->rowCount(), 81);
    QCOMPARE(m_list->fileName(), u"f010.bmp"_s);
    QCOMPARE(topName(), u"f200.bmp"_s);

    emit reader->namesRead(snapshot(numberedNames(400)), true);
    emit reader->namesRead(snapshot({u"f010.bmp"_s}), false);
    QCOMPARE(m_list->fileNames(), numberedNames(400, 5));
    QCOMPARE(m_list->fileName(), u"f010.bmp"_s);
    QCOMPARE(clicked.count(), 1);
}

QTEST_MAIN(FileListTest)
#include "test_file_list.moc"
