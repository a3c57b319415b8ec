// SPDX-License-Identifier: GPL-3.0-or-later
// `vantok --pixel` as a script runs it, a whole process from start to exit, against the bare
// decode of the same 24-megapixel PNG (6000 x 4000) by a QImageReader in this process. And its
// start, on a one-pixel PNG, against a process that makes a QCoreApplication and decodes that
// file with a bare QImageReader: this program itself, started with CoreStartArgument and the
// file. The files are written once into a temporary folder and read from the page cache after
// the first round.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace
{

constexpr QSize LargeSize{6000, 4000};
constexpr char CoreStartArgument[] = "--core-start";

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

// Runs the program to its end; a run that fails or prints something else spoils the benchmark.
void run(benchmark::State &state, const QString &program, const QStringList &arguments,
         const QByteArray &expected)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0 || process.readAllStandardOutput() != expected)
        state.SkipWithError("the program failed");
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

// The pixel's colour follows from how writePictures() fills the picture.
void pixelCommand(benchmark::State &state)
{
    const QStringList arguments{u"--pixel"_s, u"300,200"_s, largeFile()};
    for (auto _ : state)
        run(state, u"" VANTOK_PROGRAM ""_s, arguments, "#2CC8E4\n");
}

void pixelCommandStart(benchmark::State &state)
{
    const QStringList arguments{u"--pixel"_s, u"0,0"_s, smallFile()};
    for (auto _ : state)
        run(state, u"" VANTOK_PROGRAM ""_s, arguments, "#010203\n");
}

void coreApplicationStart(benchmark::State &state)
{
    const QStringList arguments{QString::fromLatin1(CoreStartArgument), smallFile()};
    for (auto _ : state)
        run(state, QCoreApplication::applicationFilePath(), arguments, {});
}

}  // namespace

BENCHMARK(bareDecode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(pixelCommand)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(coreApplicationStart)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(pixelCommandStart)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], CoreStartArgument) == 0) {
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
