// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows.h"

#include "controls/wrapped_button.h"
#include "file_chooser/file_chooser.h"
#include "main_window/main_window.h"
#include "screen_grab/screen_source.h"
#include "screen_picker/screen_picker.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace vantok
{

namespace
{

// After the windows are hidden, for what lay under them to be drawn again before the grab.
constexpr auto SettleTime = 60ms;

}  // namespace

Windows::Windows(std::unique_ptr<ScreenSource> screen)
{
    if (screen)
        useScreen(std::move(screen));
}

Windows::~Windows()
{
    m_picker.reset();
    delete m_files;
    delete m_main;
}

MainWindow *Windows::mainWindow()
{
    if (!m_main) {
        m_main = new MainWindow;
        m_main->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_main, &MainWindow::fileRequested, this, &Windows::showFiles);
        connect(m_main, &MainWindow::exitRequested, this, &Windows::exit);
        connect(m_main, &MainWindow::grabRequested, this, &Windows::grabScreen);
        m_main->show();
    }
    return m_main;
}

void Windows::showFiles()
{
    if (!m_files) {
        m_files = new FileChooser([this] { return pictureArea(); });
        m_files->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_files->show();
    m_files->raise();
    m_files->activateWindow();
}

void Windows::exit()
{
    delete m_files;
    QCoreApplication::exit(0);
}

FileChooser *Windows::files() const
{
    return m_files;
}

PictureArea Windows::pictureArea()
{
    MainWindow *main = mainWindow();
    return {main->Im, main->Pic1, main->YA, main->Pic2,
            [main](const PictureSource &source, QWidget *busyWindow) {
                return main->openPicture(source, busyWindow);
            }};
}

void Windows::grabScreen()
{
    if (m_grabbing || m_picker)
        return;
    m_grabbing = true;
    if (!m_screen)
        useScreen(chooseScreenSource());
    // The windows leave the screen first: on a tiling desktop the main window may fill a monitor.
    for (QWidget *window : {static_cast<QWidget *>(m_main), static_cast<QWidget *>(m_files)}) {
        if (window && window->isVisible()) {
            m_hidden.append(window);
            window->hide();
        }
    }
    if (m_hidden.isEmpty())
        return m_screen->grab();
    QGuiApplication::sync();
    QTimer::singleShot(SettleTime, m_screen.get(), &ScreenSource::grab);
}

void Windows::useScreen(std::unique_ptr<ScreenSource> screen)
{
    m_screen = std::move(screen);
    connect(m_screen.get(), &ScreenSource::grabbed, this, &Windows::screenGrabbed);
    connect(m_screen.get(), &ScreenSource::failed, this, &Windows::grabFailed);
}

void Windows::screenGrabbed(const QImage &desktop, const QList<ScreenPart> &parts)
{
    m_picker = std::make_unique<ScreenPicker>(desktop, parts);
    connect(m_picker.get(), &ScreenPicker::taken, this, [this, desktop](QPoint pixel) {
        showWindowsAgain();
        mainWindow()->takeFromScreen(desktop, pixel);
    });
    connect(m_picker.get(), &ScreenPicker::cancelled, this, &Windows::showWindowsAgain);
    m_picker->show();
}

void Windows::grabFailed(GrabFailure, const QString &reason)
{
    showWindowsAgain();
    const QString line = u"cannot take a picture of the screen: %1"_s.arg(reason);
    std::fprintf(stderr, "vantok: %s\n", qPrintable(line));
    QApplication::beep();
    auto *box =
        new QMessageBox(QMessageBox::Warning, u"Vantok"_s,
                        line.left(1).toUpper() + line.mid(1) + u'.', QMessageBox::Ok, mainWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// As they were before the grab; with --grab, the main window as at a plain start.
void Windows::showWindowsAgain()
{
    m_grabbing = false;
    if (m_picker)
        m_picker.release()->deleteLater();  // it may be the one signalling
    for (QWidget *window : std::as_const(m_hidden)) {
        if (window)
            window->show();
    }
    m_hidden.clear();
    mainWindow()->activateWindow();
}

}  // namespace vantok
