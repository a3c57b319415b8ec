// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window VANTOK: a fixed arrangement of named controls (placed by the table in
// main_window_layout.h) and short handlers that read and set them. The program's only state is
// the three component cells; everything else lives in the controls. Handlers never call one
// another: they meet through the change and click events that setting a box or a button raises,
// synchronously, inside the setting. The file chooser and the process's end are reached through
// the `fileRequested` and `exitRequested` signals, which app/ wires. Pictures from outside (the
// chooser with its mode box ticked, the command line, a drop) all arrive through `openPicture`.

#include "core/cell.h"
#include "core/colour_text.h"
#include "core/colour_value.h"

#include <QPushButton>
#include <QWidget>

class QLabel;

namespace vantok
{

class ColourLabel;
class ImageControl;
class OptionButton;
class PictureBox;
class PictureSource;
class TextBox;
class WrappedButton;

class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    // The controls, by their design names.
    ColourLabel *const Lab1;      // the swatch, "RGB"
    QLabel *const Label1;         // "R"
    TextBox *const LABw1;         // red component
    QLabel *const Label2;         // "G"
    TextBox *const LABw2;         // green component
    QLabel *const Label3;         // "B"
    TextBox *const LABw3;         // blue component
    OptionButton *const Op2;      // "10": decimal
    OptionButton *const Op1;      // "16": hexadecimal
    QPushButton *const Command1;  // "FILE"
    QPushButton *const Command2;  // "PASTE"
    QPushButton *const Command5;  // "SAMPLE"
    QPushButton *const Command6;  // "Zoom it!"
    QPushButton *const Command3;  // "PAINT"
    QPushButton *const Command4;  // "EXIT"
    PictureBox *const Pic1;       // the loaded or pasted picture
    ImageControl *const Im;       // a loaded picture, scaled
    PictureBox *const Pic2;       // the sample chart
    WrappedButton *const YA;      // the credits banner

    const Cell &cellR() const { return ColR; }
    const Cell &cellG() const { return ColG; }
    const Cell &cellB() const { return ColB; }

    // Loads a picture from outside into Pic1 and shows Pic1 alone, as the chooser does with its
    // mode box ticked; the hourglass shows over `busyWindow` meanwhile. A picture that does not
    // load beeps, says why on stderr and changes nothing. The colour boxes and the swatch are left
    // alone.
    bool openPicture(const PictureSource &source, QWidget *busyWindow);
    // A pixel taken from the screen: the desktop's picture goes into Pic1 and shows alone, as a
    // loaded picture does, with the pixel in view, and its colour is taken as a pick takes one.
    void takeFromScreen(const QImage &desktop, QPoint pixel);

signals:
    void fileRequested();
    void exitRequested();
    // Ctrl+G: a colour from anywhere on the screen.
    void grabRequested();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void setInitialState();
    void nameForScreenReaders();
    void connectHandlers();

    void pick(ColourValue c);
    void componentChanged(const TextBox &box, Cell &cell);
    void decimalDisplay();
    void hexadecimalDisplay();
    void repaintSwatch();

    void paste();
    void paint();
    void zoom();
    void sample();
    void banner();

    void connectDropsAndCopies();
    void copyColour(ColourForm form) const;
    void swatchMenu(QPoint at);

    Cell ColR;
    Cell ColG;
    Cell ColB;
};

}  // namespace vantok
