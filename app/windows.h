// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "file_chooser/picture_area.h"

#include <QObject>
#include <QPointer>

namespace vantok
{

class FileChooser;
class MainWindow;

// The program's two windows, each at most once. A window closed by its frame is destroyed with
// its state; the next reference creates it anew with its initial values.
class Windows : public QObject
{
    Q_OBJECT

public:
    Windows();
    ~Windows() override;

    // The main window, created and shown when there is none.
    MainWindow *mainWindow();
    // "FILE": shows the chooser modeless and unowned, creating it first when needed.
    void showFiles();
    // "EXIT": unloads the chooser, then ends the process with status 0.
    void exit();

    FileChooser *files() const;

private:
    PictureArea pictureArea();

    QPointer<MainWindow> m_main;
    QPointer<FileChooser> m_files;
};

}  // namespace vantok
