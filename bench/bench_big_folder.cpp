// SPDX-License-Identifier: GPL-3.0-or-later
// A folder of a million empty files, as the chooser meets it:
//   bareListing     the floor: readdir into strings and std::sort, nothing else
//   fileListListing the file list from setPath until the whole listing is sorted and shown
//   chooserOpening  the chooser made and shown in that folder, as "FILE" does, with a probe timer
//                   that notes the longest stretch in which the event loop did not turn, and the
//                   time until the file list first painted rows (counters, in milliseconds)
// The folder is made once per run under the temporary folder and removed at the end, which takes
// minutes on a slow disk; VANTOK_BENCH_BIG_FOLDER names a folder of such files to use instead.
#include "controls/directory_list.h"
#include "controls/file_list.h"
#include "controls/image_control.h"
#include "controls/picture_box.h"
#include "file_chooser/file_chooser.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace vantok;

namespace
{

constexpr int FileCount = 1'000'000;

QString bigFolder()
{
    static std::optional<QTemporaryDir> made;
    static const QString path = [] {
        const QString given = qEnvironmentVariable("VANTOK_BENCH_BIG_FOLDER");
        if (!given.isEmpty())
            return given;
        made.emplace();
        for (int i = 0; i < FileCount; ++i) {
            const QByteArray name =
                QFile::encodeName(made->filePath(u"Picture %1.bmp"_s.arg(i, 7, 10, QChar(u'0'))));
            const int file = ::open(name.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            if (file < 0)
                qFatal("cannot create %s", name.constData());
            ::close(file);
        }
        return made->path();
    }();
    return path;
}

void waitUntilListed(const FileList &list)
{
    while (list.isReading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void bareListing(benchmark::State &state)
{
    const QByteArray path = QFile::encodeName(bigFolder());
    size_t count = 0;
    for (auto _ : state) {
        std::vector<std::string> names;
        DIR *folder = ::opendir(path.constData());
        while (const dirent *entry = ::readdir(folder)) {
            if (entry->d_name[0] != '.')
                names.emplace_back(entry->d_name);
        }
        ::closedir(folder);
        std::sort(names.begin(), names.end());
        count = names.size();
        benchmark::DoNotOptimize(names.data());
    }
    state.counters["names"] = double(count);
}
BENCHMARK(bareListing)->Unit(benchmark::kMillisecond)->UseRealTime();

void fileListListing(benchmark::State &state)
{
    const QString path = bigFolder();
    FileList list;
    list.setPattern(u"*.BMP;*.PCX;*.ICO"_s);
    for (auto _ : state) {
        list.setPath(path);
        waitUntilListed(list);
    }
    state.counters["names"] = list.model()->rowCount();
}
BENCHMARK(fileListListing)->Unit(benchmark::kMillisecond)->UseRealTime();

// Turns every few milliseconds while the event loop turns; a longer gap is a stall.
class StallProbe
{
public:
    StallProbe()
    {
        m_ticks.setTimerType(Qt::PreciseTimer);
        m_ticks.setInterval(Interval);
        QObject::connect(&m_ticks, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_sinceLast.restart() - Interval);
        });
        m_sinceLast.start();
        m_ticks.start();
    }
    qint64 longestMs() const { return m_longest; }

private:
    static constexpr int Interval = 2;
    QTimer m_ticks;
    QElapsedTimer m_sinceLast;
    qint64 m_longest = 0;
};

struct PictureAreaWindow {
    QWidget window;
    ImageControl *Im = new ImageControl(&window);
    PictureBox *Pic1 = new PictureBox(&window);
    QPushButton *YA = new QPushButton(&window);
    PictureBox *Pic2 = new PictureBox(&window);
};

// Notes when the file list first paints with rows in it.
class FirstRowsWatch : public QObject
{
public:
    FirstRowsWatch(const FileList &list, const QElapsedTimer &clock) : m_list(list), m_clock(clock)
    {
    }
    qint64 ms() const { return m_ms; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_ms < 0 && m_list.model()->rowCount() > 0)
            m_ms = m_clock.elapsed();
        return false;
    }

private:
    const FileList &m_list;
    const QElapsedTimer &m_clock;
    qint64 m_ms = -1;
};

void chooserOpening(benchmark::State &state)
{
    const QString path = bigFolder();
    PictureAreaWindow main;
    const QString before = QDir::currentPath();
    QDir::setCurrent(path);
    qint64 stalls = 0, firstRows = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        std::unique_ptr<FileChooser> chooser;
        std::unique_ptr<FirstRowsWatch> watch;
        QEventLoop loop;
        const StallProbe probe;
        // Made inside the running loop, as the "FILE" handler does, so its own time counts.
        QTimer::singleShot(20, &loop, [&] {
            clock.start();
            chooser = std::make_unique<FileChooser>([&main] {
                return PictureArea{main.Im, main.Pic1, main.YA, main.Pic2};
            });
            watch = std::make_unique<FirstRowsWatch>(*chooser->File, clock);
            chooser->File->viewport()->installEventFilter(watch.get());
            chooser->show();
        });
        QTimer done;
        QObject::connect(&done, &QTimer::timeout, &loop, [&] {
            if (chooser && !chooser->File->isReading() && !chooser->DirP->isReading() &&
                watch->ms() >= 0)
                loop.quit();
        });
        done.start(10);
        loop.exec();
        state.SetIterationTime(double(clock.elapsed()) / 1000);
        stalls = std::max(stalls, probe.longestMs());
        firstRows = std::max(firstRows, watch->ms());
        chooser->File->viewport()->removeEventFilter(watch.get());
    }
    QDir::setCurrent(before);
    state.counters["longest_stall_ms"] = double(stalls);
    state.counters["first_rows_ms"] = double(firstRows);
}
// The worst opening matters, not the typical one: "max" joins the mean and median of repetitions.
BENCHMARK(chooserOpening)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->ComputeStatistics("max", [](const std::vector<double> &runs) {
        return *std::max_element(runs.begin(), runs.end());
    });

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
