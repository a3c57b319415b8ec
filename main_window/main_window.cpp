// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/main_window.h"

#include "controls/busy_pointer.h"
#include "controls/caption_fit.h"
#include "controls/colour_label.h"
#include "controls/image_control.h"
#include "controls/option_button.h"
#include "controls/picture_box.h"
#include "controls/text_box.h"
#include "controls/wrapped_button.h"
#include "core/sample_chart.h"
#include "main_window/main_window_layout.h"
#include "pictures/clipboard_picture.h"
#include "pictures/picture_source.h"
#include "system/program_starter.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QShortcut>

using namespace Qt::StringLiterals;

namespace vantok
{

namespace
{

const QColor WindowGrey(192, 192, 192);

// Runs of blanks steer where the banner's lines break.
const QString BannerCaption = u"                Vantok  Ver3.53                 "
                              u"Support:  help@vantok.example  "
                              u"Written by the Vantok authors.  Free to use and share."_s;

// The chart as the picture Pic2 holds for the whole run.
QImage sampleChartPicture()
{
    const SampleChart chart = generateSampleChart();
    const QImage view(reinterpret_cast<const uchar *>(chart.constBits()), SampleChart::Width,
                      SampleChart::Height, SampleChart::BytesPerLine, QImage::Format_RGB32);
    return view.copy();  // the view does not outlive the chart
}

QLabel *letter(QWidget *window, const char *name, const QString &caption)
{
    auto *label = namedControl<QLabel>(window, name, caption);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// Takes a drag only as a copy (a file manager that was granted a move would delete the file), and
// only when it offers something to load. A drag left ignored shows the "no drop" pointer.
bool acceptPictureToCopy(QDropEvent &event)
{
    if (!(event.possibleActions() & Qt::CopyAction) ||
        !PictureSource::dragged(*event.mimeData()).offersPicture()) {
        event.ignore();
        return false;
    }
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return true;
}

}  // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent), Lab1(namedControl<ColourLabel>(this, "Lab1", u"RGB"_s)),
      Label1(letter(this, "Label1", u"R"_s)), LABw1(namedControl<TextBox>(this, "LABw1")),
      Label2(letter(this, "Label2", u"G"_s)), LABw2(namedControl<TextBox>(this, "LABw2")),
      Label3(letter(this, "Label3", u"B"_s)), LABw3(namedControl<TextBox>(this, "LABw3")),
      Op2(namedControl<OptionButton>(this, "Op2", u"10"_s)),
      Op1(namedControl<OptionButton>(this, "Op1", u"16"_s)),
      Command1(namedControl<QPushButton>(this, "Command1", u"FILE"_s)),
      Command2(namedControl<QPushButton>(this, "Command2", u"PASTE"_s)),
      Command5(namedControl<QPushButton>(this, "Command5", u"SAMPLE"_s)),
      Command6(namedControl<QPushButton>(this, "Command6", u"Zoom it!"_s)),
      Command3(namedControl<QPushButton>(this, "Command3", u"PAINT"_s)),
      Command4(namedControl<QPushButton>(this, "Command4", u"EXIT"_s)),
      Pic1(namedControl<PictureBox>(this, "Pic1")), Im(namedControl<ImageControl>(this, "Im")),
      Pic2(namedControl<PictureBox>(this, "Pic2")),
      YA(namedControl<WrappedButton>(this, "YA", BannerCaption))
{
    setObjectName(u"VANTOK"_s);
    setWindowTitle(u"Vantok"_s);
    setWindowIcon(QIcon(u":/icons/vantok.ico"_s));
    resize(MainWindowClientSize);
    setMinimumSize(MainWindowClientSize);  // smaller, the design's controls would be cut off
    move(MainWindowClientPosition);
    applyLayout(this, MainWindowLayout);
    setInitialState();
    nameForScreenReaders();
    connectHandlers();
    connectDropsAndCopies();
}

void MainWindow::setInitialState()
{
    setBackColor(this, WindowGrey);

    QFont swatchFont = font();
    swatchFont.setFamilies({u"System"_s, font().family()});
    swatchFont.setPointSizeF(13.5);
    swatchFont.setWeight(QFont::Bold);
    Lab1->setFont(swatchFont);
    Lab1->setAlignment(Qt::AlignCenter);
    Lab1->setBackColor(composeColour(192, 192, 192));

    for (TextBox *box : {LABw1, LABw2, LABw3})
        box->setText(u"0"_s);
    Op2->setValue(true);
    fitCaptionToWidth(Op1);
    fitCaptionToWidth(Op2);
    Pic2->setPicture(sampleChartPicture());
    Im->hide();
    Pic2->hide();
    Pic1->enablePanAndZoom();  // pictures larger than the window shows pan and zoom
    Pic1->setFocus();
}

// Names and descriptions a listener hears, taken from what the window shows; none is drawn.
void MainWindow::nameForScreenReaders()
{
    Lab1->setAccessibleName(u"Colour swatch"_s);  // its description tells the colour
    LABw1->setAccessibleName(u"Red"_s);
    LABw2->setAccessibleName(u"Green"_s);
    LABw3->setAccessibleName(u"Blue"_s);
    Op2->setAccessibleName(u"Decimal"_s);
    Op1->setAccessibleName(u"Hexadecimal"_s);
    Pic1->setAccessibleName(u"Picture"_s);
    Pic2->setAccessibleName(u"Sample chart"_s);
    // Each picture box describes how to pick, and where it is zoomed or panned.
    Im->setAccessibleName(u"Scaled picture"_s);
    YA->setAccessibleName(BannerCaption.simplified());  // its blanks only steer the line breaks
}

void MainWindow::connectHandlers()
{
    connect(Pic1, &PictureBox::mouseDown, this, [this](QPointF at) { pick(Pic1->point(at)); });
    connect(Pic1, &PictureBox::markTaken, this, [this](QPoint cell) { pick(Pic1->pixel(cell)); });
    connect(Pic2, &PictureBox::mouseDown, this, [this](QPointF at) { pick(Pic2->point(at)); });
    connect(LABw1, &TextBox::changed, this, [this] { componentChanged(*LABw1, ColR); });
    connect(LABw2, &TextBox::changed, this, [this] { componentChanged(*LABw2, ColG); });
    connect(LABw3, &TextBox::changed, this, [this] { componentChanged(*LABw3, ColB); });
    connect(Op1, &OptionButton::clicked, this, &MainWindow::hexadecimalDisplay);
    connect(Op2, &OptionButton::clicked, this, &MainWindow::decimalDisplay);

    connect(Command1, &QPushButton::clicked, this, &MainWindow::fileRequested);
    connect(Command2, &QPushButton::clicked, this, &MainWindow::paste);
    connect(Command3, &QPushButton::clicked, this, &MainWindow::paint);
    connect(Command4, &QPushButton::clicked, this, &MainWindow::exitRequested);
    connect(Command5, &QPushButton::clicked, this, &MainWindow::sample);
    connect(Command6, &QPushButton::clicked, this, &MainWindow::zoom);
    connect(YA, &QPushButton::clicked, this, &MainWindow::banner);
}

// A press anywhere on a picture box, Space or Enter on Pic1's pick mark, or a pixel taken from
// the screen: that pixel's colour, always shown in decimal.
void MainWindow::pick(ColourValue c)
{
    const BusyPointer busy(this);
    Op2->setValue(true);              // rewrites the boxes in decimal first when "16" was on
    ColR = Cell::number(redOf(c));    // all three cells before any box is written:
    ColG = Cell::number(greenOf(c));  // each nested change repaints from complete values
    ColB = Cell::number(blueOf(c));
    LABw1->setText(ColR.decimalForm());
    LABw2->setText(ColG.decimalForm());
    LABw3->setText(ColB.decimalForm());
    repaintSwatch();
}

// The box keeps what was typed; only its cell and the swatch follow.
void MainWindow::componentChanged(const TextBox &box, Cell &cell)
{
    if (Op2->value())
        cell = Cell::text(box.text());
    if (Op1->value())
        cell = Cell::number(readHexadecimal(box.text()).value_or(0));
    repaintSwatch();
}

void MainWindow::decimalDisplay()
{
    LABw1->setText(ColR.decimalForm());
    LABw2->setText(ColG.decimalForm());
    LABw3->setText(ColB.decimalForm());
}

void MainWindow::hexadecimalDisplay()
{
    LABw1->setText(ColR.hexadecimalForm());
    LABw2->setText(ColG.hexadecimalForm());
    LABw3->setText(ColB.hexadecimalForm());
}

void MainWindow::repaintSwatch()
{
    Lab1->setBackColor(
        composeColour(ColR.swatchComponent(), ColG.swatchComponent(), ColB.swatchComponent()));
}

// "PASTE": the clipboard's picture, or none, into Pic1, which may be hidden behind Im.
void MainWindow::paste()
{
    {
        const BusyPointer busy(this);
        Pic1->setPicture(clipboardPicture());
    }
    YA->hide();
    Pic2->hide();
}

void MainWindow::paint()
{
    startProgram(u"\\WINDOWS\\PBRUSH.EXE"_s,
#ifdef Q_OS_WIN
                 {u"mspaint"_s});
#else
                 {u"mtpaint"_s, u"kolourpaint"_s, u"pinta"_s, u"gimp"_s});
#endif
}

void MainWindow::zoom()
{
    startProgram(u".\\ZOOM.EXE"_s,
#ifdef Q_OS_WIN
                 {u"magnify"_s});
#else
                 {u"xzoom"_s, u"magnus"_s, u"kmag"_s});
#endif
}

void MainWindow::sample()
{
    YA->hide();
    Pic2->show();
}

void MainWindow::banner()
{
    Pic2->show();
    YA->hide();
}

bool MainWindow::openPicture(const PictureSource &source, QWidget *busyWindow)
{
    const BusyPointer busy(busyWindow);
    PictureLoad load = source.load();
    if (!load.isLoaded()) {
        QApplication::beep();
        source.reportRefusal(load);
        return false;
    }
    Pic1->setPicture(std::move(load.picture));  // held where it lies: never held twice
    Im->hide();
    YA->hide();
    Pic2->hide();
    Pic1->show();
    return true;
}

void MainWindow::takeFromScreen(const QImage &desktop, QPoint pixel)
{
    Pic1->setPicture(desktop);  // shared with the frozen screen's picture, not copied
    Im->hide();
    YA->hide();
    Pic2->hide();
    Pic1->show();
    Pic1->bringIntoView(pixel);
    pick(Pic1->pixel(pixel));
    Pic1->setFocus();  // so that Ctrl+C copies the colour taken
}

// Beyond the design: pictures dropped anywhere on the window, Ctrl+C and the swatch's menu copy
// its colour, and Ctrl+G takes one from the screen. A component box keeps its own Ctrl+C, since it
// takes the shortcut first.
void MainWindow::connectDropsAndCopies()
{
    setAcceptDrops(true);
    auto *copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, [this] { copyColour(ColourForm::Hash); });
    auto *grab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), this);
    connect(grab, &QShortcut::activated, this, &MainWindow::grabRequested);
    Lab1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Lab1, &QWidget::customContextMenuRequested, this, &MainWindow::swatchMenu);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    acceptPictureToCopy(*event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent *event)
{
    acceptPictureToCopy(*event);
}

void MainWindow::dropEvent(QDropEvent *event)
{
    if (acceptPictureToCopy(*event))
        openPicture(PictureSource::dragged(*event->mimeData()), this);
}

// The colour the swatch shows, which is the window's grey until a handler first paints it.
void MainWindow::copyColour(ColourForm form) const
{
    QGuiApplication::clipboard()->setText(colourText(Lab1->backColor(), form));
}

void MainWindow::swatchMenu(QPoint at)
{
    QMenu menu(this);
    for (const ColourForm form : ColourForms) {
        QAction *action = menu.addAction(u"Copy %1"_s.arg(colourText(Lab1->backColor(), form)));
        connect(action, &QAction::triggered, this, [this, form] { copyColour(form); });
    }
    menu.exec(Lab1->mapToGlobal(at));
}

}  // namespace vantok
