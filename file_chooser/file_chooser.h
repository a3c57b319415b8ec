// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The file chooser FILES: five named controls placed by the table in file_chooser_layout.h and
// four handlers, each a few property reads and writes. Its whole state lives in the controls and
// goes with the window, which deletes itself when closed. The lists form a chain through their
// change events: the drive list sets the directory list's path, which sets the file list's. A
// click in the file list loads the file into the main window's picture area, which the chooser
// reaches only through the PictureAreaProvider that app/ gives it.

#include "file_chooser/picture_area.h"

#include <QWidget>

class QCheckBox;

namespace vantok
{

class DirectoryList;
class DriveList;
class FileList;
class TextBox;

class FileChooser : public QWidget
{
    Q_OBJECT

public:
    explicit FileChooser(PictureAreaProvider mainWindow, QWidget *parent = nullptr);

    // The controls, by their design names.
    DriveList *const DD;        // drive list
    DirectoryList *const DirP;  // directory list
    FileList *const File;       // file list
    TextBox *const Te;          // pattern box
    QCheckBox *const Ch;        // "Vantokmode": ticked loads into Pic1, else Im

private:
    void setInitialState();
    void nameForScreenReaders();
    void connectHandlers();

    void driveChanged();
    void directoryChanged();
    void patternChanged();
    void load();

    PictureAreaProvider m_mainWindow;
};

}  // namespace vantok
