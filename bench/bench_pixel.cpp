// SPDX-License-Identifier: GPL-3.0-or-later
// `vantok --pixel` as a script runs it, a whole process from start to exit, on a 24-megapixel PNG
// (6000 x 4000) and on a one-pixel PNG, against Qt's bare decode of the same file: in a process
// that only makes a QCoreApplication and reads the file with a QImageReader (this program itself,
// started with DecodeArgument), and for the large file also in this process. The processes' CPU
// time is counted too, as child_cpu_ms, since their wall-clock time follows the machine's load.
// The files are written once into a temporary folder and read from the page cache after the
// first round.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace
{

constexpr QSize LargeSize{6000, 4000};
constexpr char DecodeArgument[] = "--decode";

QTemporaryDir *folder()
{
    static QTemporaryDir dir;
    return &dir;
}

QString largeFile()
{
    return folder()->filePath(u"large.png"_s);
}

QString smallFile()
{
    return folder()->filePath(u"small.png"_s);
}

bool writePictures()
{
    QImage large(LargeSize, QImage::Format_RGB32);
    for (int y = 0; y < large.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(large.scanLine(y));
        for (int x = 0; x < large.width(); ++x)
            line[x] = qRgb(x & 0xff, y & 0xff, (x ^ y) & 0xff);
    }
    QImage small(1, 1, QImage::Format_RGB32);
    small.fill(qRgb(1, 2, 3));
    return QImageWriter(largeFile(), "png").write(large) &&
           QImageWriter(smallFile(), "png").write(small);
}

double childrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Runs the program to its end once an iteration; a run that fails or prints something else
// spoils the benchmark.
void runProcesses(benchmark::State &state, const QString &program, const QStringList &arguments,
                  const QByteArray &expected)
{
    const double cpuBefore = childrenCpuMs();
    for (auto _ : state) {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0 || process.readAllStandardOutput() != expected)
            state.SkipWithError("the program failed");
    }
    state.counters["child_cpu_ms"] =
        benchmark::Counter(childrenCpuMs() - cpuBefore, benchmark::Counter::kAvgIterations);
}

void bareDecode(benchmark::State &state)
{
    for (auto _ : state) {
        QImageReader reader(largeFile());
        const QImage picture = reader.read();
        if (picture.size() != LargeSize)
            state.SkipWithError("the picture did not load");
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void bareDecodeProcess(benchmark::State &state)
{
    runProcesses(state, QCoreApplication::applicationFilePath(),
                 {QString::fromLatin1(DecodeArgument), largeFile()}, {});
}

// The pixel's colour follows from how writePictures() fills the picture.
void pixelCommand(benchmark::State &state)
{
    runProcesses(state, u"" VANTOK_PROGRAM ""_s, {u"--pixel"_s, u"300,200"_s, largeFile()},
                 "#2CC8E4\n");
}

void bareDecodeProcessStart(benchmark::State &state)
{
    runProcesses(state, QCoreApplication::applicationFilePath(),
                 {QString::fromLatin1(DecodeArgument), smallFile()}, {});
}

void pixelCommandStart(benchmark::State &state)
{
    runProcesses(state, u"" VANTOK_PROGRAM ""_s, {u"--pixel"_s, u"0,0"_s, smallFile()},
                 "#010203\n");
}

}  // namespace

BENCHMARK(bareDecode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(bareDecodeProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(pixelCommand)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(bareDecodeProcessStart)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(pixelCommandStart)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], DecodeArgument) == 0) {
        const QCoreApplication app(argc, argv);
        return QImageReader(QString::fromLocal8Bit(argv[2])).read().isNull() ? 1 : 0;
    }
    const QCoreApplication app(argc, argv);
    if (!folder()->isValid() || !writePictures())
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
