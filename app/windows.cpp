// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows.h"

#include "controls/wrapped_button.h"
#include "file_chooser/file_chooser.h"
#include "main_window/main_window.h"

#include <QCoreApplication>

namespace vantok
{

Windows::Windows() = default;

Windows::~Windows()
{
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

}  // namespace vantok
