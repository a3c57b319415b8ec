// SPDX-License-Identifier: GPL-3.0-or-later
// A folder of a million empty files, and one of a million empty sub-folders, as the chooser meets
// them:
//   bareListing     the floor: readdir into strings and std::sort, nothing else
//   fileListListing the file list from setPath until the whole listing is sorted and shown
//   chooserOpening  the chooser made and shown in that folder, as "FILE" does, with a probe timer
//                   that notes the longest stretch in which the event loop did not turn, and the
//                   time until the file list first painted rows (counters, in milliseconds)
//   bareListingOfSubFolders, directoryListListing, chooserOpeningAmongSubFolders
//                   the same for the folder of sub-folders and the directory list
// Each folder is made once per run under the temporary folder and removed at the end, which takes
// minutes on a slow disk; VANTOK_BENCH_BIG_FOLDER names a folder of such files to use instead, and
// VANTOK_BENCH_SUB_FOLDERS one of such sub-folders.
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
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace vantok;

namespace
{

constexpr int EntryCount = 1'000'000;

// The folder `variable` names, or a temporary one of a million entries named by `pattern` and
// made by `make`.
QString folderOfMany(const char *variable, std::optional<QTemporaryDir> &made,
                     const QString &pattern, bool (*make)(const QByteArray &path))
{
    const QString given = qEnvironmentVariable(variable);
    if (!given.isEmpty())
        return given;
    made.emplace();
    for (int i = 0; i < EntryCount; ++i) {
        const QByteArray name =
            QFile::encodeName(made->filePath(pattern.arg(i, 7, 10, QChar(u'0'))));
        if (!make(name))
            qFatal("cannot create %s", name.constData());
    }
    return made->path();
}

QString bigFolder()
{
    static std::optional<QTemporaryDir> made;
    static const QString path = folderOfMany(
        "VANTOK_BENCH_BIG_FOLDER", made, u"Picture %1.bmp"_s, [](const QByteArray &name) {
            const int file = ::open(name.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            return file >= 0 && ::close(file) == 0;
        });
    return path;
}

QString subFoldersFolder()
{
    static std::optional<QTemporaryDir> made;
    static const QString path =
        folderOfMany("VANTOK_BENCH_SUB_FOLDERS", made, u"Folder %1"_s,
                     [](const QByteArray &name) { return ::mkdir(name.constData(), 0755) == 0; });
    return path;
}

template<typename List>
void waitUntilListed(const List &list)
{
    while (list.isReading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void listBare(benchmark::State &state, const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
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

void bareListing(benchmark::State &state)
{
    listBare(state, bigFolder());
}
BENCHMARK(bareListing)->Unit(benchmark::kMillisecond)->UseRealTime();

void bareListingOfSubFolders(benchmark::State &state)
{
    listBare(state, subFoldersFolder());
}
BENCHMARK(bareListingOfSubFolders)->Unit(benchmark::kMillisecond)->UseRealTime();

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

// Shown, so that every snapshot is laid out as it comes; the last layout is painted at the end.
void directoryListListing(benchmark::State &state)
{
    const QString path = subFoldersFolder();
    DirectoryList list;
    list.show();
    for (auto _ : state) {
        list.setPath(path);  // read anew even when it is the path shown
        waitUntilListed(list);
        list.viewport()->repaint();
    }
    state.counters["names"] = list.model()->rowCount(list.currentIndex());
}
BENCHMARK(directoryListListing)->Unit(benchmark::kMillisecond)->UseRealTime();

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

// The rows the list that the big folder fills has read so far: the files, or the sub-folders under
// the highlighted current folder.
int filledRows(const FileChooser &chooser, bool subFolders)
{
    return subFolders ? chooser.DirP->model()->rowCount(chooser.DirP->currentIndex())
                      : chooser.File->model()->rowCount();
}

// Notes when the list that the big folder fills first paints with rows in it.
class FirstRowsWatch : public QObject
{
public:
    FirstRowsWatch(const FileChooser &chooser, bool subFolders, const QElapsedTimer &clock)
        : m_chooser(chooser), m_subFolders(subFolders), m_clock(clock)
    {
        viewport()->installEventFilter(this);
    }
    ~FirstRowsWatch() override { viewport()->removeEventFilter(this); }
    qint64 ms() const { return m_ms; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_ms < 0 && filledRows(m_chooser, m_subFolders) > 0)
            m_ms = m_clock.elapsed();
        return false;
    }

private:
    QWidget *viewport() const
    {
        return m_subFolders ? m_chooser.DirP->viewport() : m_chooser.File->viewport();
    }

    const FileChooser &m_chooser;
    const bool m_subFolders;
    const QElapsedTimer &m_clock;
    qint64 m_ms = -1;
};

void openChooser(benchmark::State &state, bool amongSubFolders)
{
    const QString path = amongSubFolders ? subFoldersFolder() : bigFolder();
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
            watch = std::make_unique<FirstRowsWatch>(*chooser, amongSubFolders, clock);
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
    }
    QDir::setCurrent(before);
    state.counters["longest_stall_ms"] = double(stalls);
    state.counters["first_rows_ms"] = double(firstRows);
}

void chooserOpening(benchmark::State &state)
{
    openChooser(state, false);
}

void chooserOpeningAmongSubFolders(benchmark::State &state)
{
    openChooser(state, true);
}

// The worst opening matters, not the typical one: "max" joins the mean and median of repetitions.
double worst(const std::vector<double> &runs)
{
    return *std::max_element(runs.begin(), runs.end());
}
BENCHMARK(chooserOpening)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->ComputeStatistics("max", worst);
BENCHMARK(chooserOpeningAmongSubFolders)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->ComputeStatistics("max", worst);

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
