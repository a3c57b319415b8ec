// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_chooser/file_chooser.h"

#include "controls/accessibility.h"
#include "controls/busy_pointer.h"
#include "controls/caption_fit.h"
#include "controls/directory_list.h"
#include "controls/drive_list.h"
#include "controls/file_list.h"
#include "controls/image_control.h"
#include "controls/picture_box.h"
#include "controls/text_box.h"
#include "core/path_join.h"
#include "file_chooser/file_chooser_layout.h"
#include "pictures/picture_source.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QIcon>

using namespace Qt::StringLiterals;

namespace vantok
{

namespace
{

const QColor WindowGrey(192, 192, 192);

void setWhiteBack(QWidget *control)
{
    QPalette white = control->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Button, Qt::white);  // what a closed drop-down list shows
    control->setPalette(white);
}

}  // namespace

FileChooser::FileChooser(PictureAreaProvider mainWindow, QWidget *parent)
    : QWidget(parent), DD(namedControl<DriveList>(this, "DD")),
      DirP(namedControl<DirectoryList>(this, "DirP")), File(namedControl<FileList>(this, "File")),
      Te(namedControl<TextBox>(this, "Te")), Ch(namedControl<QCheckBox>(this, "Ch")),
      m_mainWindow(std::move(mainWindow))
{
    setObjectName(u"FILES"_s);
    setWindowTitle(u"Files "_s);
    setWindowIcon(QIcon(u":/icons/chooser.ico"_s));
    setAttribute(Qt::WA_DeleteOnClose);  // closing discards the state; the next one starts anew
    setFixedSize(FileChooserClientSize);
    move(FileChooserClientPosition);
    applyLayout(this, FileChooserLayout);
    setInitialState();
    nameForScreenReaders();
    connectHandlers();
}

// No handler runs at start: the lists and the box are set before they are connected.
void FileChooser::setInitialState()
{
    setBackColor(this, WindowGrey);
    for (QWidget *list : std::initializer_list<QWidget *>{DD, DirP, File, Te})
        setWhiteBack(list);

    File->setPattern(u"*.BMP;*.PCX;*.ICO"_s);
    File->setPath(QDir::currentPath());
    Te->setText(u"*.BMP;*.ICO"_s);
    Ch->setText(u"Vantokmode"_s);
    Ch->setChecked(true);
    fitCaptionToWidth(Ch);
}

// What a listener hears for each list and box; the mode box is named by its caption.
void FileChooser::nameForScreenReaders()
{
    nameComboBox(DD, u"Drives"_s);
    DirP->setAccessibleName(u"Folders"_s);
    File->setAccessibleName(u"Files"_s);
    Te->setAccessibleName(u"File name pattern"_s);
    Ch->setAccessibleDescription(
        u"Ticked, a file loads into the picture to pick from; cleared, it is shown scaled"_s);
}

void FileChooser::connectHandlers()
{
    connect(DD, &DriveList::changed, this, &FileChooser::driveChanged);
    connect(DirP, &DirectoryList::changed, this, &FileChooser::directoryChanged);
    connect(Te, &TextBox::changed, this, &FileChooser::patternChanged);
    connect(File, &FileList::clicked, this, &FileChooser::load);
}

// A drive that is not ready leaves the directory list where it was; the list beeps itself.
void FileChooser::driveChanged()
{
    DirP->setPath(DD->drive());
}

void FileChooser::directoryChanged()
{
    File->setPath(DirP->path());
}

// The whole text at every keystroke, also while a pattern is only half typed.
void FileChooser::patternChanged()
{
    File->setPattern(Te->text());
}

// Loads the selected file into Pic1, where colours are picked, or with the mode box cleared into
// Im. A file that does not load leaves the target's earlier picture, beeps and says why on stderr.
// Pic1 is loaded the way every picture from outside the main window is, by the main window's own
// load.
void FileChooser::load()
{
    const PictureArea main = m_mainWindow();  // creates the main window anew if it was closed
    main.Im->hide();
    main.Pic1->hide();
    main.YA->hide();
    main.Pic2->hide();
    const bool intoPic1 = Ch->isChecked();
    if (intoPic1)
        main.Pic1->show();
    else
        main.Im->show();
    const QString directory = File->path();  // a root keeps its separator; the join adds none
    const BusyPointer busy(this);            // over the chooser only, until the end
    const PictureSource source = PictureSource::file(joinPath(directory, File->fileName().text()));
    if (intoPic1) {
        main.openPicture(source, this);  // beeps and says why itself on failure
        return;
    }
    const PictureLoad load = source.load();
    if (!load.isLoaded()) {
        QApplication::beep();
        source.reportRefusal(load);
        return;
    }
    main.Im->setPicture(load.picture);
}

}  // namespace vantok
