// SPDX-License-Identifier: GPL-3.0-or-later
// Taking a colour from the screen on the X server named by DISPLAY (scripts/bench.sh gives it a
// 3840 x 2160 screen): from the grab's start to every frozen window painted, and from a pointer
// move over the frozen screen to the loupe painted again.

#include "bench/paint_counter.h"
#include "controls/loupe.h"
#include "screen_grab/x11_screen_source.h"
#include "screen_picker/frozen_screen.h"
#include "screen_picker/screen_picker.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <memory>
#include <optional>

using namespace vantok;

namespace
{

struct Grab {
    QImage desktop;
    QList<ScreenPart> parts;
};

// Runs the event loop until the grab answers.
std::optional<Grab> grabScreen(X11ScreenSource &source)
{
    std::optional<Grab> grab;
    bool failed = false;
    const auto got = QObject::connect(&source, &ScreenSource::grabbed, [&](auto &d, auto &p) {
        grab = Grab{d, p};
    });
    const auto lost = QObject::connect(&source, &ScreenSource::failed, [&] { failed = true; });
    source.grab();
    while (!grab && !failed)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QObject::disconnect(got);
    QObject::disconnect(lost);
    return grab;
}

QList<FrozenScreen *> frozenScreens()
{
    QList<FrozenScreen *> found;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *frozen = qobject_cast<FrozenScreen *>(window))
            found.append(frozen);
    }
    return found;
}

// Delivers events until every counter has counted a paint.
bool paintedAll(const std::vector<std::unique_ptr<PaintCounter>> &paints)
{
    for (int round = 0; round < 1000; ++round) {
        if (std::ranges::all_of(paints, [](auto &p) { return p->count() > 0; }))
            return true;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return false;
}

void BM_GrabToFrozenScreen(benchmark::State &state)
{
    X11ScreenSource source;
    for (auto _ : state) {
        const std::optional<Grab> grab = grabScreen(source);
        if (!grab) {
            state.SkipWithError("the screen could not be grabbed");
            break;
        }
        ScreenPicker picker(grab->desktop, grab->parts);
        std::vector<std::unique_ptr<PaintCounter>> paints;
        for (FrozenScreen *frozen : frozenScreens())
            paints.push_back(std::make_unique<PaintCounter>(frozen));
        picker.show();
        if (!paintedAll(paints)) {
            state.SkipWithError("the frozen screen never painted");
            break;
        }
        state.PauseTiming();
        paints.clear();
        state.ResumeTiming();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
BENCHMARK(BM_GrabToFrozenScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

// Alternately one device pixel right and back, to the loupe painted again.
void BM_LoupeFollowsPointer(benchmark::State &state)
{
    X11ScreenSource source;
    const std::optional<Grab> grab = grabScreen(source);
    if (!grab)
        return state.SkipWithError("the screen could not be grabbed");
    ScreenPicker picker(grab->desktop, grab->parts);
    picker.show();
    FrozenScreen *frozen = frozenScreens().value(0);
    if (!frozen || !QTest::qWaitForWindowExposed(frozen))
        return state.SkipWithError("no frozen screen was shown");
    auto *loupe = frozen->findChild<Loupe *>();
    PaintCounter paints(loupe);
    int turn = 0;
    for (auto _ : state) {
        const QPointF at(800 + turn++ % 2, 500);
        QMouseEvent move(QEvent::MouseMove, at, at, frozen->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        if (!sentUntilPainted(frozen, move, paints)) {
            state.SkipWithError("the loupe did not paint");
            break;
        }
    }
}
BENCHMARK(BM_LoupeFollowsPointer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "bench_grab needs an X display (DISPLAY)\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
