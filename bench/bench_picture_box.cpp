// SPDX-License-Identifier: GPL-3.0-or-later
// A pan or zoom step in Pic1 on a 100-megapixel picture, from the key press to the view repainted,
// in a window of 1920 x 1080, and a pointer move with a button held to the loupe repainted. Each
// iteration delivers the key to the box, then processes events until the update it asked for has
// painted the box and flushed the backing store, as the event loop would: a pan scrolls what stays
// in view and paints the uncovered strip, a zoom paints the whole view.

#include "bench/paint_counter.h"
#include "controls/loupe.h"
#include "controls/picture_box.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

#include <memory>

using namespace vantok;

namespace
{

// Ten thousand by ten thousand pixels, every one differing from its neighbours.
const QImage &hundredMegapixels()
{
    static const QImage picture = [] {
        QImage made(10000, 10000, QImage::Format_RGB32);
        for (int y = 0; y < made.height(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(made.scanLine(y));
            for (int x = 0; x < made.width(); ++x)
                row[x] = qRgb(x & 0xff, y & 0xff, (x ^ y) & 0xff);
        }
        return made;
    }();
    return picture;
}

class ShownPicture
{
public:
    ShownPicture()
    {
        window.resize(1920, 1080);
        box->move(56, 0);
        box->enablePanAndZoom();
        box->setPicture(hundredMegapixels());
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the window was never exposed");
        box->setFocus();
        QCoreApplication::processEvents();
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(box, &event);
    }

    // Presses the key and delivers pending events until the box has painted again.
    bool stepAndPaint(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const int before = paints.count();
        press(key, modifiers);
        for (int round = 0; round < 100 && paints.count() == before; ++round)
            QCoreApplication::processEvents();
        return paints.count() > before;
    }

    // Steps the zoom from 1:1 by `steps`, in when positive.
    void zoomBy(int steps)
    {
        for (int i = 0; i < qAbs(steps); ++i)
            press(steps > 0 ? Qt::Key_Plus : Qt::Key_Minus, Qt::ControlModifier);
        QCoreApplication::processEvents();
    }

    QWidget window;
    PictureBox *box = new PictureBox(&window);
    PaintCounter paints{box};
};

// Alternately one arrow step right and back, at the zoom `state.range(0)` steps from 1:1.
void BM_PanStep(benchmark::State &state)
{
    ShownPicture shown;
    shown.zoomBy(int(state.range(0)));
    shown.press(Qt::Key_PageDown);
    int turn = 0;
    for (auto _ : state) {
        if (!shown.stepAndPaint(turn++ % 2 ? Qt::Key_Left : Qt::Key_Right)) {
            state.SkipWithError("the pan step painted nothing");
            break;
        }
    }
    state.counters["zoom"] = shown.box->view().zoom();
}
BENCHMARK(BM_PanStep)->Arg(0)->Arg(2)->Arg(-2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Alternately one zoom step in and back out around the centre, from `state.range(0)` steps from
// 1:1; -20 starts where the whole picture fits.
void BM_ZoomStep(benchmark::State &state)
{
    ShownPicture shown;
    shown.zoomBy(int(state.range(0)));
    int turn = 0;
    for (auto _ : state) {
        if (!shown.stepAndPaint(turn++ % 2 ? Qt::Key_Minus : Qt::Key_Plus, Qt::ControlModifier)) {
            state.SkipWithError("the zoom step painted nothing");
            break;
        }
    }
}
BENCHMARK(BM_ZoomStep)->Arg(1)->Arg(-20)->Unit(benchmark::kMillisecond)->UseRealTime();

// With the button held, alternately one pixel right and back, to the loupe painted again.
void BM_LoupeFollowsHeldPointer(benchmark::State &state)
{
    ShownPicture shown;
    const QPointF first = shown.box->contentsRect().topLeft() + QPointF(400, 300);
    QTest::mousePress(shown.box, Qt::LeftButton, {}, first.toPoint());
    auto *loupe = shown.box->findChild<Loupe *>();
    PaintCounter loupePaints(loupe);
    int turn = 0;
    for (auto _ : state) {
        const QPointF at = first + QPointF(turn++ % 2, 0);
        QMouseEvent move(QEvent::MouseMove, at, shown.box->mapTo(&shown.window, at),
                         shown.box->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        if (!sentUntilPainted(shown.box, move, loupePaints)) {
            state.SkipWithError("the loupe did not paint");
            break;
        }
    }
}
BENCHMARK(BM_LoupeFollowsHeldPointer)->Unit(benchmark::kMillisecond)->UseRealTime();

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
