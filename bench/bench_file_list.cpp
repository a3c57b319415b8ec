// SPDX-License-Identifier: GPL-3.0-or-later
// The file list refilters at every keystroke in the pattern box and reads a folder at every change
// of directory; both must stay quick in a folder of a hundred thousand files.
#include "controls/file_list.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace
{

constexpr int FileCount = 100'000;

// Made once per run: creating the files takes far longer than anything measured.
QString bigFolder()
{
    static QTemporaryDir dir;
    static const bool filled = [] {
        const char *extensions[] = {"bmp", "ICO", "pcx", "txt"};
        for (int i = 0; i < FileCount; ++i) {
            QFile file(dir.filePath(u"Picture %1.%2"_s.arg(i, 6, 10, QChar(u'0'))
                                        .arg(QLatin1StringView(extensions[i % 4]))));
            if (!file.open(QIODevice::WriteOnly))
                qFatal("cannot create %s", qPrintable(file.fileName()));
        }
        return true;
    }();
    Q_UNUSED(filled);
    return dir.path();
}

// The file list reads on a thread of its own; its names come in through the event loop.
void waitUntilListed(const vantok::FileList &list)
{
    while (list.isReading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Two patterns in turn, as while typing, so every round really filters anew.
void refilter(benchmark::State &state)
{
    vantok::FileList list;
    list.setPath(bigFolder());
    waitUntilListed(list);
    const QString patterns[] = {u"*.BMP;*.ICO"_s, u"*.BMP;*.IC"_s};
    int round = 0;
    for (auto _ : state)
        list.setPattern(patterns[round++ % 2]);
    state.counters["shown"] = list.model()->rowCount();
}
BENCHMARK(refilter)->Unit(benchmark::kMillisecond);

// The same on a shown list, with the layout and painting the refilter causes.
void refilterShown(benchmark::State &state)
{
    vantok::FileList list;
    list.resize(153, 194);
    list.show();
    list.setPath(bigFolder());
    waitUntilListed(list);
    QApplication::processEvents();
    const QString patterns[] = {u"*.BMP;*.ICO"_s, u"*.BMP;*.IC"_s};
    int round = 0;
    for (auto _ : state) {
        list.setPattern(patterns[round++ % 2]);
        QApplication::processEvents();
    }
}
BENCHMARK(refilterShown)->Unit(benchmark::kMillisecond);

// Reading, sorting and filtering the folder, as a change of directory does.
void listFolder(benchmark::State &state)
{
    vantok::FileList list;
    list.setPattern(u"*.BMP;*.ICO"_s);
    const QString path = bigFolder();
    for (auto _ : state) {
        list.setPath(path);
        waitUntilListed(list);
    }
}
BENCHMARK(listFolder)->Unit(benchmark::kMillisecond);

// A megabyte of distinct patterns of one shape, pasted, against a folder of 2,000 names of which
// some match each shape: the refilter must not try every name against every pattern.
QString smallFolder()
{
    static QTemporaryDir dir;
    static const bool filled = [] {
        for (int i = 0; i < 500; ++i) {
            const int n = i * 200;
            for (const QString &name : {u"n%1"_s.arg(n), u"f%1.x%2"_s.arg(i).arg(n),
                                        u"p%1q"_s.arg(n), u"Picture %1.bmp"_s.arg(n)}) {
                QFile file(dir.filePath(name));
                if (!file.open(QIODevice::WriteOnly))
                    qFatal("cannot create %s", qPrintable(file.fileName()));
            }
        }
        return true;
    }();
    Q_UNUSED(filled);
    return dir.path();
}

QString megabyteOf(QStringView shape)
{
    QString patterns;
    for (int i = 0; patterns.size() < (1 << 20); ++i)
        patterns += shape.toString().arg(i) + u';';
    return patterns;
}

void refilterMegabyte(benchmark::State &state, QStringView shape)
{
    vantok::FileList list;
    list.setPath(smallFolder());
    waitUntilListed(list);
    const QString patterns = megabyteOf(shape);
    for (auto _ : state)
        list.setPattern(patterns);
    state.counters["shown"] = list.model()->rowCount();
}
BENCHMARK_CAPTURE(refilterMegabyte, names, u"n%1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(refilterMegabyte, suffixes, u"*.x%1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(refilterMegabyte, prefixes, u"n%1*")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(refilterMegabyte, general, u"p*%1*q")->Unit(benchmark::kMillisecond);

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
