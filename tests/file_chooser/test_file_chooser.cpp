// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_chooser/file_chooser.h"

#include "controls/directory_list.h"
#include "controls/drive_list.h"
#include "controls/file_list.h"
#include "controls/image_control.h"
#include "controls/picture_box.h"
#include "controls/text_box.h"
#include "file_chooser/file_chooser_layout.h"
#include "pictures/picture_source.h"
#include "tests/support/odd_file_types.h"
#include "testsupport/picture_files.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <algorithm>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;
using namespace vantok;
using namespace vantok::test;

namespace
{

// The main window's picture area as bare platform controls on a window of their own, in the
// state the main window starts in: Pic1 with the banner YA over it.
struct FakeMainWindow {
    QWidget window;
    ImageControl *Im = new ImageControl(&window);
    PictureBox *Pic1 = new PictureBox(&window);
    QPushButton *YA = new QPushButton(u"banner"_s, &window);
    PictureBox *Pic2 = new PictureBox(&window);
    int requests = 0;

    FakeMainWindow()
    {
        for (auto [control, name] : {std::pair<QWidget *, QString>{Im, u"Im"_s},
                                     {Pic1, u"Pic1"_s},
                                     {YA, u"YA"_s},
                                     {Pic2, u"Pic2"_s}})
            control->setObjectName(name);
        Im->setGeometry(56, 0, 249, 281);
        Pic1->setGeometry(56, 0, 250, 281);
        Pic2->setGeometry(72, 32, 219, 184);
        YA->setGeometry(72, 64, 217, 81);
        Im->hide();
        Pic2->hide();
        window.resize(307, 283);
        window.show();
    }

    PictureArea area()
    {
        ++requests;
        return {Im, Pic1, YA, Pic2, [this](const PictureSource &source, QWidget *) {
                    const PictureLoad load = source.load();
                    if (load.isLoaded())
                        Pic1->setPicture(load.picture);
                    return load.isLoaded();
                }};
    }

    QStringList visibleControls() const
    {
        QStringList names;
        for (const QWidget *control : std::initializer_list<const QWidget *>{Im, Pic1, YA, Pic2})
            if (control->isVisible())
                names.append(control->objectName());
        return names;
    }
};

// How the picture box holds a picture: 32-bit, no alpha.
QImage asShown(const QImage &picture)
{
    return picture.convertToFormat(QImage::Format_RGB32);
}

const QImage SkyPicture = patternPicture({20, 10}, 1);
const QImage SeaPicture = patternPicture({12, 30}, 2);
const QImage PhotoPicture = patternPicture({17, 9}, 3);
const QImage FolderPicture = patternPicture({16, 16}, 4);
const QImage InnerPicture = patternPicture({5, 6}, 5);
const QImage NotUtf8Picture = patternPicture({7, 8}, 6);

// What the folder lists under the initial pattern, in the list's order.
const QStringList PictureFiles{u"BROKEN.BMP"_s, u"FOLDER.ICO"_s, u"PHOTO.PCX"_s, u"sea.bmp"_s,
                               u"SKY.BMP"_s};

}  // namespace

class FileChooserTest : public QObject
{
    Q_OBJECT

private:
    void clickFile(const QString &name);
    QString controlHolding(QWidget *widget) const;
    QString topControlAt(QPoint at) const;
    QString focusedControl() const;

    QTemporaryDir m_dir;
    QString m_startDirectory;
    std::unique_ptr<FakeMainWindow> m_main;
    QPointer<FileChooser> m_chooser;

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void placesFollowTable();
    void stackingFollowsTable();
    void tabOrderFollowsTable();
    void startsWithInitialValues();
    void patternFollowsBoxAtEveryKeystroke();
    void directoryChangeMovesFileList();
    void loadsIntoTarget_data();
    void loadsIntoTarget();
    void loadIntoImKeepsPic1PictureUnseen();
    void arrowKeysLoadEachFilePassed();
    void loadRunsUnderHourglass();
    void failedLoadKeepsEarlierPicture();
    void loadsFromRootDirectory();
    void fileTurnedFifoAfterListingIsNotWaitedOn();
    void closingDeletesWindow();
};

void FileChooserTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QDir dir(m_dir.path());
    QVERIFY(writeFile(dir.filePath(u"SKY.BMP"_s), encoded(SkyPicture, "bmp")));
    QVERIFY(writeFile(dir.filePath(u"sea.bmp"_s), encoded(SeaPicture, "bmp")));
    QVERIFY(writeFile(dir.filePath(u"PHOTO.PCX"_s), pcxFile(PhotoPicture)));
    QVERIFY(writeFile(dir.filePath(u"FOLDER.ICO"_s), encoded(FolderPicture, "ico")));
    QVERIFY(writeFile(dir.filePath(u"BROKEN.BMP"_s), encoded(SkyPicture, "bmp").left(100)));
    QVERIFY(writeFile(dir.filePath(u"notes.txt"_s), "not a picture"));
#ifdef Q_OS_UNIX
    QVERIFY(writeFileNamed(QFile::encodeName(dir.filePath(u"caf"_s)) + "\xe9.png",
                           encoded(NotUtf8Picture, "png")));
#endif
    QVERIFY(dir.mkdir(u"more"_s));
    QVERIFY(writeFile(dir.filePath(u"more/INNER.BMP"_s), encoded(InnerPicture, "bmp")));
    // The chooser starts in the process's current directory.
    m_startDirectory = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
}

void FileChooserTest::cleanupTestCase()
{
    QDir::setCurrent(m_startDirectory);
}

void FileChooserTest::init()
{
    m_main = std::make_unique<FakeMainWindow>();
    m_chooser = new FileChooser([main = m_main.get()] { return main->area(); });
    m_chooser->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_chooser));
    QTRY_VERIFY(!m_chooser->File->isReading() && !m_chooser->DirP->isReading());
}

void FileChooserTest::cleanup()
{
    delete m_chooser;
    m_main.reset();
}

void FileChooserTest::clickFile(const QString &name)
{
    const int row = m_chooser->File->fileNames().indexOf(name);
    QVERIFY2(row >= 0, qPrintable(name));
    const QRect place = m_chooser->File->visualRect(m_chooser->File->model()->index(row, 0));
    QTest::mouseClick(m_chooser->File->viewport(), Qt::LeftButton, {}, place.center());
}

QString FileChooserTest::controlHolding(QWidget *widget) const
{
    while (widget && widget->parentWidget() != m_chooser)
        widget = widget->parentWidget();
    return widget ? widget->objectName() : m_chooser->objectName();
}

// The name of the control drawn on top at `at`, or the window's own when none is there.
QString FileChooserTest::topControlAt(QPoint at) const
{
    return controlHolding(m_chooser->childAt(at));
}

QString FileChooserTest::focusedControl() const
{
    return controlHolding(QApplication::focusWidget());
}

void FileChooserTest::placesFollowTable()
{
    QCOMPARE(m_chooser->size(), FileChooserClientSize);
    for (const ControlPlace &row : FileChooserLayout) {
        const auto *control = m_chooser->findChild<QWidget *>(QLatin1StringView(row.name),
                                                              Qt::FindDirectChildrenOnly);
        QVERIFY2(control, row.name);
        QCOMPARE(control->geometry(), row.place.pixels());
    }
}

// Every pixel of the client area belongs to the first control in the table that covers it.
void FileChooserTest::stackingFollowsTable()
{
    for (int y = 0; y < FileChooserClientSize.height(); ++y) {
        for (int x = 0; x < FileChooserClientSize.width(); ++x) {
            QString expected = m_chooser->objectName();
            for (const ControlPlace &row : FileChooserLayout) {
                if (row.place.pixels().contains(x, y)) {
                    expected = QLatin1StringView(row.name);
                    break;
                }
            }
            if (topControlAt({x, y}) != expected)
                QFAIL(qPrintable(u"at %1,%2 %3 is on top, not %4"_s.arg(x).arg(y).arg(
                    topControlAt({x, y}), expected)));
        }
    }
}

void FileChooserTest::tabOrderFollowsTable()
{
    std::array rows = FileChooserLayout;
    std::ranges::sort(rows, {}, &ControlPlace::tabIndex);
    QStringList expected;
    for (const ControlPlace &row : rows)
        expected.append(QLatin1StringView(row.name));
    expected.append(expected.first());  // round to the start again

    m_chooser->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_chooser));
    m_chooser->DD->setFocus();
    QStringList visited{focusedControl()};
    for (int step = 1; step < expected.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(focusedControl());
    }
    QCOMPARE(visited, expected);
}

void FileChooserTest::startsWithInitialValues()
{
    const QString current = QDir::toNativeSeparators(m_dir.path());
    QCOMPARE(m_chooser->windowTitle(), u"Files "_s);
    QVERIFY(m_chooser->windowIcon().availableSizes().contains(QSize(32, 32)));
    QCOMPARE(m_chooser->DirP->path(), current);
    QCOMPARE(m_chooser->File->path(), current);
    QCOMPARE(m_chooser->Te->text(), u"*.BMP;*.ICO"_s);
    // The list keeps its own wider pattern until the box is first edited.
    QCOMPARE(m_chooser->File->pattern(), u"*.BMP;*.PCX;*.ICO"_s);
    QCOMPARE(m_chooser->File->fileNames(), PictureFiles);
    QCOMPARE(m_chooser->Ch->text(), u"Vantokmode"_s);
    QVERIFY(m_chooser->Ch->isChecked());
    QCOMPARE(m_main->requests, 0);

    const QImage shown = m_chooser->grab().toImage();
    QCOMPARE(QColor(shown.pixel(5, 205)), QColor(192, 192, 192));  // the window below DirP
    for (const QWidget *list :
         std::initializer_list<const QWidget *>{m_chooser->DirP, m_chooser->File, m_chooser->Te}) {
        const QPoint blank = list->geometry().bottomRight() - QPoint(6, 6);
        QVERIFY2(QColor(shown.pixel(blank)) == Qt::white, qPrintable(list->objectName()));
    }
}

void FileChooserTest::patternFollowsBoxAtEveryKeystroke()
{
    QStringList mismatches;
    connect(m_chooser->Te, &TextBox::changed, this, [&] {
        if (m_chooser->File->pattern() != m_chooser->Te->text())
            mismatches.append(m_chooser->Te->text());
    });
    m_chooser->Te->setFocus();

    QTest::keyClick(m_chooser->Te, Qt::Key_End);
    QTest::keyClick(m_chooser->Te, Qt::Key_Backspace);
    QCOMPARE(m_chooser->File->pattern(), u"*.BMP;*.IC"_s);
    QCOMPARE(m_chooser->File->fileNames(),
             (QStringList{u"BROKEN.BMP"_s, u"sea.bmp"_s, u"SKY.BMP"_s}));

    QTest::keyClick(m_chooser->Te, Qt::Key_Home);
    for (int i = 0; i < 6; ++i)  // takes "*.BMP;" away, leaving the icon pattern half typed
        QTest::keyClick(m_chooser->Te, Qt::Key_Delete);
    QTest::keyClick(m_chooser->Te, Qt::Key_End);
    QTest::keyClick(m_chooser->Te, Qt::Key_O);
    QCOMPARE(m_chooser->File->fileNames(), QStringList{u"FOLDER.ICO"_s});

    m_chooser->Te->selectAll();
    QTest::keyClicks(m_chooser->Te, u"*.BMP;*.ICO"_s);
    QCOMPARE(m_chooser->File->fileNames(),
             (QStringList{u"BROKEN.BMP"_s, u"FOLDER.ICO"_s, u"sea.bmp"_s, u"SKY.BMP"_s}));
    QCOMPARE(mismatches, QStringList());
    QCOMPARE(m_main->requests, 0);
}

void FileChooserTest::directoryChangeMovesFileList()
{
    const QString more = QDir::toNativeSeparators(m_dir.filePath(u"more"_s));
    QVERIFY(m_chooser->DirP->setPath(more));
    QCOMPARE(m_chooser->File->path(), more);
    QTRY_COMPARE(m_chooser->File->fileNames(), QStringList{u"INNER.BMP"_s});
}

void FileChooserTest::loadsIntoTarget_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("modeBox");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QImage>("expected");

    QTest::newRow("BMP into Pic1") << u"SKY.BMP"_s << true << u"Pic1"_s << SkyPicture;
    QTest::newRow("lower-case BMP into Pic1") << u"sea.bmp"_s << true << u"Pic1"_s << SeaPicture;
    QTest::newRow("PCX into Pic1") << u"PHOTO.PCX"_s << true << u"Pic1"_s << PhotoPicture;
    QTest::newRow("ICO into Pic1") << u"FOLDER.ICO"_s << true << u"Pic1"_s << FolderPicture;
    QTest::newRow("BMP into Im with the mode box cleared")
        << u"SKY.BMP"_s << false << u"Im"_s << SkyPicture;
#ifdef Q_OS_UNIX  // names on Windows are UTF-16, which Qt always keeps whole
    QTest::newRow("PNG whose name is not UTF-8, shown with U+FFFD, into Pic1")
        << u"caf\uFFFD.png"_s << true << u"Pic1"_s << NotUtf8Picture;
#endif
}

void FileChooserTest::loadsIntoTarget()
{
    QFETCH(QString, fileName);
    QFETCH(bool, modeBox);
    QFETCH(QString, target);
    QFETCH(QImage, expected);

    m_chooser->Ch->setChecked(modeBox);
    m_chooser->File->setPattern(u"*"_s);  // the PNG among the rest
    clickFile(fileName);

    QCOMPARE(m_main->requests, 1);
    QCOMPARE(m_main->visibleControls(), QStringList{target});
    const QImage loaded =
        asShown(target == u"Pic1"_s ? m_main->Pic1->shownPicture() : m_main->Im->picture());
    QCOMPARE(loaded, asShown(expected));
    QCOMPARE(m_chooser->cursor().shape(), Qt::ArrowCursor);
}

void FileChooserTest::loadIntoImKeepsPic1PictureUnseen()
{
    clickFile(u"SKY.BMP"_s);
    m_chooser->Ch->setChecked(false);
    clickFile(u"sea.bmp"_s);

    QCOMPARE(m_main->visibleControls(), QStringList{u"Im"_s});
    QCOMPARE(asShown(m_main->Im->picture()), asShown(SeaPicture));
    QCOMPARE(asShown(m_main->Pic1->shownPicture()), asShown(SkyPicture));
}

void FileChooserTest::arrowKeysLoadEachFilePassed()
{
    clickFile(u"FOLDER.ICO"_s);
    QCOMPARE(asShown(m_main->Pic1->shownPicture()), asShown(FolderPicture));
    m_chooser->File->setFocus();
    for (const QImage &next : {PhotoPicture, SeaPicture, SkyPicture}) {
        QTest::keyClick(m_chooser->File, Qt::Key_Down);
        QCOMPARE(asShown(m_main->Pic1->shownPicture()), asShown(next));
    }
    QCOMPARE(m_main->requests, 4);
}

// The picture box takes the new picture's size as the picture is set, while the chooser still
// shows the hourglass.
void FileChooserTest::loadRunsUnderHourglass()
{
    struct PointerAtResize : QObject {
        const QWidget *chooser;
        std::optional<Qt::CursorShape> shape;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Resize && chooser->testAttribute(Qt::WA_SetCursor))
                shape = chooser->cursor().shape();
            return false;
        }
    } watch;
    watch.chooser = m_chooser;
    m_main->Pic1->installEventFilter(&watch);

    clickFile(u"SKY.BMP"_s);
    QCOMPARE(watch.shape, Qt::WaitCursor);
    QCOMPARE(m_chooser->cursor().shape(), Qt::ArrowCursor);
}

void FileChooserTest::failedLoadKeepsEarlierPicture()
{
    clickFile(u"SKY.BMP"_s);
    m_main->YA->show();  // as if the banner had come back since
    clickFile(u"BROKEN.BMP"_s);

    QCOMPARE(m_main->requests, 2);
    QCOMPARE(m_main->visibleControls(), QStringList{u"Pic1"_s});
    QCOMPARE(asShown(m_main->Pic1->shownPicture()), asShown(SkyPicture));
    QCOMPARE(m_chooser->cursor().shape(), Qt::ArrowCursor);
}

// The root's own separator is the only one between it and the name.
void FileChooserTest::loadsFromRootDirectory()
{
    QTemporaryFile file(QDir::rootPath() + u"vantok-chooser-XXXXXX.BMP"_s);
    if (!file.open())
        QSKIP("the root directory is not writable here");
    QVERIFY(file.write(encoded(InnerPicture, "bmp")) > 0);
    file.close();
    const QString name = QFileInfo(file.fileName()).fileName();

    // A drive's designation would go back to its remembered folder; the root entry goes to it.
    const QRect rootEntry = m_chooser->DirP->visualRect(m_chooser->DirP->model()->index(0, 0));
    QTest::mouseClick(m_chooser->DirP->viewport(), Qt::LeftButton, {}, rootEntry.center());
    QTest::mouseDClick(m_chooser->DirP->viewport(), Qt::LeftButton, {}, rootEntry.center());
    QCOMPARE(m_chooser->File->path(), QDir::toNativeSeparators(QDir::rootPath()));
    QTRY_VERIFY(!m_chooser->File->isReading());
    clickFile(name);
    QCOMPARE(asShown(m_main->Pic1->shownPicture()), asShown(InnerPicture));
}

// The listing said it was a file; the load must not wait for a writer that never comes.
void FileChooserTest::fileTurnedFifoAfterListingIsNotWaitedOn()
{
#ifdef Q_OS_UNIX
    const QString name = m_dir.filePath(u"LATER.BMP"_s);
    QVERIFY(writeFile(name, encoded(InnerPicture, "bmp")));
    const auto removeLater = qScopeGuard([&] { QFile::remove(name); });
    m_chooser->File->setPath(m_dir.path());
    QTRY_VERIFY(m_chooser->File->fileNames().contains(u"LATER.BMP"_s));
    clickFile(u"SKY.BMP"_s);
    QVERIFY(QFile::remove(name));
    QVERIFY(makeFifo(name));

    FifoRescue rescue(name, std::chrono::seconds(5));
    clickFile(u"LATER.BMP"_s);  // before the watcher's re-read, which runs only from the event loop
    QVERIFY2(!rescue.finish(), "the load waited for a writer");
    QCOMPARE(asShown(m_main->Pic1->shownPicture()), asShown(SkyPicture));
    QCOMPARE(m_chooser->cursor().shape(), Qt::ArrowCursor);
#else
    QSKIP("FIFOs are Unix's");
#endif
}

void FileChooserTest::closingDeletesWindow()
{
    QVERIFY(m_chooser->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_chooser.isNull());
}

QTEST_MAIN(FileChooserTest)
#include "test_file_chooser.moc"
