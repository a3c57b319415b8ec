// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows.h"
#include "controls/colour_label.h"
#include "controls/file_list.h"
#include "controls/image_control.h"
#include "controls/picture_box.h"
#include "controls/text_box.h"
#include "file_chooser/file_chooser.h"
#include "main_window/main_window.h"
#include "screen_grab/null_screen_source.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImageWriter>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantok;

class WindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fileTwiceShowsOneChooserAsLeft();
    void fileAfterCloseBuildsAFreshChooser();
    void mainWindowIsMadeOnce();
    void loadAfterMainWindowClosedMakesItAnew();
    void chooserLoadLeavesTheMainPointerAlone();
    void chooserTakesNoDrops();
    void unreadableScreenSaysWhyAndChangesNothing();

private:
    static void processDeferredDeletes();

    QTemporaryDir m_dir;
    QString m_savedCurrent;
    Windows *m_windows = nullptr;
};

void WindowsTest::processDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void WindowsTest::init()
{
    QVERIFY(m_dir.isValid());
    m_savedCurrent = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    m_windows = new Windows;
}

void WindowsTest::cleanup()
{
    delete m_windows;
    QDir::setCurrent(m_savedCurrent);
}

void WindowsTest::fileTwiceShowsOneChooserAsLeft()
{
    MainWindow *main = m_windows->mainWindow();
    QTest::mouseClick(main->Command1, Qt::LeftButton);
    FileChooser *first = m_windows->files();
    QVERIFY(first && first->isVisible());
    QVERIFY(!first->parentWidget());  // unowned
    QVERIFY(!first->isModal());
    first->Ch->setChecked(false);
    first->Te->setText(u"*.PNG"_s);

    QTest::mouseClick(main->Command1, Qt::LeftButton);
    QCOMPARE(m_windows->files(), first);
    QVERIFY(!first->Ch->isChecked());
    QCOMPARE(first->Te->text(), u"*.PNG"_s);
    int choosers = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        choosers += qobject_cast<FileChooser *>(w) ? 1 : 0;
    QCOMPARE(choosers, 1);
}

void WindowsTest::fileAfterCloseBuildsAFreshChooser()
{
    MainWindow *main = m_windows->mainWindow();
    QTest::mouseClick(main->Command1, Qt::LeftButton);
    m_windows->files()->Ch->setChecked(false);
    m_windows->files()->close();
    processDeferredDeletes();
    QVERIFY(!m_windows->files());

    QTest::mouseClick(main->Command1, Qt::LeftButton);
    QVERIFY(m_windows->files());
    QVERIFY(m_windows->files()->Ch->isChecked());
    QCOMPARE(m_windows->files()->Te->text(), u"*.BMP;*.ICO"_s);
    QCOMPARE(m_windows->files()->File->pattern(), u"*.BMP;*.PCX;*.ICO"_s);
}

void WindowsTest::mainWindowIsMadeOnce()
{
    MainWindow *main = m_windows->mainWindow();
    QVERIFY(main->isVisible());
    QCOMPARE(m_windows->mainWindow(), main);
}

void WindowsTest::loadAfterMainWindowClosedMakesItAnew()
{
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(qRgb(52, 18, 5));
    QVERIFY(QImageWriter(m_dir.filePath(u"SKY.BMP"_s), "bmp").write(picture));

    QPointer<MainWindow> first = m_windows->mainWindow();
    QTest::mouseClick(first->Command1, Qt::LeftButton);
    FileChooser *files = m_windows->files();
    QTest::keyClicks(first->LABw1, u"9"_s);
    first->close();
    processDeferredDeletes();
    QVERIFY(!first);
    QVERIFY(files->isVisible());  // the chooser outlives the main window

    QTRY_VERIFY(!files->File->isReading());
    files->File->setFocus();
    QTest::keyClick(files->File, Qt::Key_Down);
    MainWindow *again = m_windows->mainWindow();
    QVERIFY(again->isVisible());
    QCOMPARE(again->LABw1->text(), u"0"_s);  // initial state, not the closed window's
    QVERIFY(again->Pic1->isVisible());
    QCOMPARE(again->Pic1->shownPicture(), picture);
}

// The chooser's load into Pic1 goes through the main window's load from outside, with the
// hourglass over the chooser only.
void WindowsTest::chooserLoadLeavesTheMainPointerAlone()
{
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(qRgb(52, 18, 5));
    QVERIFY(QImageWriter(m_dir.filePath(u"SKY.BMP"_s), "bmp").write(picture));
    MainWindow *main = m_windows->mainWindow();
    m_windows->showFiles();
    FileChooser *files = m_windows->files();
    struct PointersAtResize : QObject {
        const QWidget *main = nullptr;
        const QWidget *files = nullptr;
        QList<bool> set;  // main window, chooser
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Resize)
                set = {main->testAttribute(Qt::WA_SetCursor),
                       files->cursor().shape() == Qt::WaitCursor};
            return false;
        }
    } watch;
    watch.main = main;
    watch.files = files;
    main->Pic1->installEventFilter(&watch);

    QTRY_VERIFY(!files->File->isReading());
    files->File->setFocus();
    QTest::keyClick(files->File, Qt::Key_Down);
    QCOMPARE(main->Pic1->shownPicture(), picture);
    QCOMPARE(watch.set, QList<bool>({false, true}));
}

void WindowsTest::chooserTakesNoDrops()
{
    m_windows->showFiles();
    FileChooser *files = m_windows->files();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(m_dir.filePath(u"SKY.BMP"_s))});
    data.setText(data.urls().constFirst().toString());
    for (QWidget *over : files->findChildren<QWidget *>()) {
        QDragEnterEvent enter(over->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(over, &enter);
        QVERIFY2(!enter.isAccepted(), qPrintable(over->objectName()));
    }
    QCOMPARE(files->Te->text(), u"*.BMP;*.ICO"_s);
}

// Where the screen can't be read, Ctrl+G brings the main window back as it was, with one message.
void WindowsTest::unreadableScreenSaysWhyAndChangesNothing()
{
    delete m_windows;
    m_windows = new Windows(std::make_unique<NullScreenSource>(u"nowhere"_s));
    MainWindow *main = m_windows->mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    const ColourValue before = main->Lab1->backColor();
    QTest::keyClick(main, Qt::Key_G, Qt::ControlModifier);
    QVERIFY(!main->isVisible());
    QMessageBox *box = nullptr;
    QTRY_VERIFY((box = main->findChild<QMessageBox *>()) != nullptr);
    QVERIFY(main->isVisible());
    QCOMPARE(box->text(),
             u"Cannot take a picture of the screen: the screen cannot be read on the \"nowhere\" "
             u"platform."_s);
    QCOMPARE(main->Lab1->backColor(), before);
}

QTEST_MAIN(WindowsTest)
#include "test_windows.moc"
