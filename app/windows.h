// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "file_chooser/picture_area.h"
#include "screen_grab/screen_source.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <memory>

class QImage;
class QWidget;

namespace vantok
{

class FileChooser;
class MainWindow;
class ScreenPicker;

// The program's two windows, each at most once. A window closed by its frame is destroyed with
// its state; the next reference creates it anew with its initial values. It also takes a colour
// from the screen for the main window, with the windows out of the way meanwhile.
class Windows : public QObject
{
    Q_OBJECT

public:
    // Without a source, the platform's is chosen at the first grab.
    explicit Windows(std::unique_ptr<ScreenSource> screen = nullptr);
    ~Windows() override;

    // The main window, created and shown when there is none.
    MainWindow *mainWindow();
    // "FILE": shows the chooser modeless and unowned, creating it first when needed.
    void showFiles();
    // "EXIT": unloads the chooser, then ends the process with status 0.
    void exit();
    // Ctrl+G and --grab: hides the windows, takes a picture of the screen and holds it still to
    // take a pixel from; the windows come back when that ends, the main window with the colour.
    void grabScreen();

    FileChooser *files() const;

private:
    PictureArea pictureArea();
    void useScreen(std::unique_ptr<ScreenSource> screen);
    void screenGrabbed(const QImage &desktop, const QList<ScreenPart> &parts);
    void grabFailed(GrabFailure kind, const QString &reason);
    void showWindowsAgain();

    QPointer<MainWindow> m_main;
    QPointer<FileChooser> m_files;
    std::unique_ptr<ScreenSource> m_screen;
    std::unique_ptr<ScreenPicker> m_picker;
    QList<QPointer<QWidget>> m_hidden;
    bool m_grabbing = false;
};

}  // namespace vantok
