// SPDX-License-Identifier: GPL-3.0-or-later
// A megabyte pasted into the pattern box and then edited by keystrokes: the file list shows what
// the pattern means and is filtered once per edit, never more.

#include "controls/file_list.h"
#include "controls/image_control.h"
#include "controls/picture_box.h"
#include "controls/text_box.h"
#include "file_chooser/file_chooser.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantok;

namespace
{

constexpr qsizetype Megabyte = 1 << 20;
constexpr int FilesPerKind = 500;

QStringList numberedNames(const QString &form)
{
    QStringList names;
    for (int i = 0; i < FilesPerKind; ++i)
        names.append(form.arg(i, 4, 10, QLatin1Char('0')));
    return names;
}

// Enough names that matching each against many patterns would show.
const QStringList Bitmaps = numberedNames(u"photo-%1.bmp"_s);
const QStringList Icons = numberedNames(u"sign-%1.ico"_s);
const QStringList Plain{u"x"_s, u"aaaa.pcx"_s};

QStringList sortedNames(QStringList names)
{
    std::ranges::sort(names, [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

}  // namespace

class LongPatternsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void megabytePastedThenEdited_data();
    void megabytePastedThenEdited();

private:
    QTemporaryDir m_dir;
    QString m_startDirectory;
    QWidget m_mainWindow;
    FileChooser *m_chooser = nullptr;
};

void LongPatternsTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const QString &name : Bitmaps + Icons + Plain) {
        QFile file(QDir(m_dir.path()).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // The chooser lists the process's current directory.
    m_startDirectory = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
}

void LongPatternsTest::cleanupTestCase()
{
    QDir::setCurrent(m_startDirectory);
}

void LongPatternsTest::init()
{
    // Nothing is loaded here; the picture area only has to exist.
    const PictureArea area{new ImageControl(&m_mainWindow),
                           new PictureBox(&m_mainWindow),
                           new QPushButton(&m_mainWindow),
                           new PictureBox(&m_mainWindow),
                           {}};
    m_chooser = new FileChooser([area] { return area; });
    m_chooser->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_chooser));
    QTRY_VERIFY(!m_chooser->File->isReading());
}

void LongPatternsTest::cleanup()
{
    QApplication::clipboard()->clear();
    delete m_chooser;
    m_chooser = nullptr;
    qDeleteAll(m_mainWindow.findChildren<QWidget *>(Qt::FindDirectChildrenOnly));
}

void LongPatternsTest::megabytePastedThenEdited_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("listed");
    const QStringList all = sortedNames(Bitmaps + Icons + Plain);
    QTest::newRow("stars list every file") << QString(Megabyte, u'*') << all;
    QTest::newRow("star-a repeated asks for half a million a's")
        << u"*a"_s.repeated(Megabyte / 2) << QStringList{};
    QTest::newRow("one extension repeated lists as once")
        << u"*.ico;"_s.repeated(Megabyte / 6) << Icons;
    QTest::newRow("one name repeated lists that name")
        << u"x;"_s.repeated(Megabyte / 2) << QStringList{u"x"_s};
    QTest::newRow("question marks ask for a megabyte-long name")
        << QString(Megabyte, u'?') << QStringList{};
    QTest::newRow("blanks around one pattern")
        << QString(Megabyte / 2, u' ') + u"*.BMP"_s + QString(Megabyte / 2, u' ') << Bitmaps;
}

void LongPatternsTest::megabytePastedThenEdited()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, listed);
    TextBox *box = m_chooser->Te;
    QSignalSpy refilters(m_chooser->File->model(), &QAbstractItemModel::modelReset);

    QApplication::clipboard()->setText(pattern);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text().size(), pattern.size());
    QCOMPARE(m_chooser->File->fileNames(), listed);
    QCOMPARE(refilters.count(), 1);

    // Keystrokes at both ends that give the same pattern back.
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, pattern.right(1));
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, pattern.left(1));
    QCOMPARE(box->text(), pattern);
    QCOMPARE(m_chooser->File->fileNames(), listed);
    QCOMPARE(refilters.count(), 5);
}

QTEST_MAIN(LongPatternsTest)
#include "test_long_patterns.moc"
