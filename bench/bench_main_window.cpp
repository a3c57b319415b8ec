// SPDX-License-Identifier: GPL-3.0-or-later
// How long the main window takes from an input event to the swatch on screen.
//
// Each iteration feeds the input through the window's QWindow, the way a platform plugin hands
// over a click or a key, so hit testing and focus routing are part of the figure. The handler
// runs synchronously inside that delivery; what it made dirty (the swatch, the boxes, the option
// buttons) is painted by the UpdateRequest Qt posts to the top-level window, so the iteration
// then processes pending events until that request has painted the swatch and flushed the
// backing store. Forcing `Lab1->repaint()` instead would leave the boxes' repaint out of the
// figure. The offscreen platform flushes into memory; on X11 the copy to the server comes on top.

#include "bench/paint_counter.h"
#include "controls/colour_label.h"
#include "controls/picture_box.h"
#include "controls/text_box.h"
#include "controls/wrapped_button.h"
#include "main_window/main_window.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>

#include <array>
#include <memory>

using namespace vantok;

namespace
{

// Two colours per row, so every pick changes the swatch.
QImage stripedPicture()
{
    QImage picture(250, 277, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, x < 125 ? qRgb(200, 40, y % 256) : qRgb(10, 220, y % 256));
    return picture;
}

// The main window as it stands after a picture was loaded into Pic1: shown, exposed, the banner
// hidden, everything painted once.
class LoadedWindow
{
public:
    LoadedWindow()
    {
        window.Pic1->setPicture(stripedPicture());
        window.YA->hide();
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the main window was never exposed");
        QCoreApplication::processEvents();
    }

    QWindow *handle() { return window.windowHandle(); }

    // Delivers pending events until the swatch has been painted again.
    bool swatchRepainted(int paintsBefore)
    {
        for (int round = 0; round < 100 && swatchPaints.count() == paintsBefore; ++round)
            QCoreApplication::processEvents();
        return swatchPaints.count() > paintsBefore;
    }

    MainWindow window;
    PaintCounter swatchPaints{window.Lab1};
};

void pickToSwatch(benchmark::State &state)
{
    LoadedWindow loaded;
    // Two points on either colour of the same row, in window coordinates.
    const QPoint inPic1 = loaded.window.Pic1->mapTo(&loaded.window, QPoint(2, 2));
    const std::array points{inPic1 + QPoint(40, 100), inPic1 + QPoint(200, 100)};
    int turn = 0;
    for (auto _ : state) {
        const int paintsBefore = loaded.swatchPaints.count();
        const QPoint at = points[turn++ % 2];
        QTest::mousePress(loaded.handle(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(loaded.handle(), Qt::LeftButton, {}, at);
        if (!loaded.swatchRepainted(paintsBefore)) {
            state.SkipWithError("the pick did not repaint the swatch");
            break;
        }
    }
}

// One keystroke at the end of the box's first digit, alternately typing '5' and taking it away:
// "1" / "15" with `tail` behind it, so every keystroke changes the swatch.
void keystrokeToSwatch(benchmark::State &state, const QString &tail)
{
    LoadedWindow loaded;
    TextBox *box = loaded.window.LABw1;
    box->setText(u'1' + tail);
    box->setFocus();
    box->setCursorPosition(1);
    QCoreApplication::processEvents();
    int turn = 0;
    for (auto _ : state) {
        const int paintsBefore = loaded.swatchPaints.count();
        if (turn++ % 2 == 0)
            QTest::keyClick(loaded.handle(), Qt::Key_5);
        else
            QTest::keyClick(loaded.handle(), Qt::Key_Backspace);
        if (!loaded.swatchRepainted(paintsBefore)) {
            state.SkipWithError("the keystroke did not repaint the swatch");
            break;
        }
    }
}

void BM_PickToSwatch(benchmark::State &state)
{
    pickToSwatch(state);
}
BENCHMARK(BM_PickToSwatch)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_KeystrokeToSwatch(benchmark::State &state)
{
    keystrokeToSwatch(state, {});
}
BENCHMARK(BM_KeystrokeToSwatch)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A megabyte of text already in the box: "1.000…", still a readable 1 or 15.
void BM_KeystrokeToSwatchInMegabyte(benchmark::State &state)
{
    keystrokeToSwatch(state, u'.' + QString(1024 * 1024 - 2, u'0'));
}
BENCHMARK(BM_KeystrokeToSwatchInMegabyte)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
