// SPDX-License-Identifier: GPL-3.0-or-later
// The chart is made whenever the main window is created, so both steps count at start-up.
#include "core/chart_bitmap.h"
#include "core/sample_chart.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace
{

void generateChart(benchmark::State &state)
{
    for (auto _ : state) {
        vantok::SampleChart chart = vantok::generateSampleChart();
        benchmark::DoNotOptimize(chart.constBits());
    }
}
BENCHMARK(generateChart);

// Wraps the pixels without copying, then takes the copy a picture box keeps.
void chartToShownImage(benchmark::State &state)
{
    const vantok::SampleChart chart = vantok::generateSampleChart();
    for (auto _ : state) {
        const QImage wrapped(reinterpret_cast<const uchar *>(chart.constBits()),
                             vantok::SampleChart::Width, vantok::SampleChart::Height,
                             vantok::SampleChart::BytesPerLine, QImage::Format_RGB32);
        QImage shown = wrapped.copy();
        benchmark::DoNotOptimize(shown.constBits());
    }
}
BENCHMARK(chartToShownImage);

void generateAndShowChart(benchmark::State &state)
{
    for (auto _ : state) {
        const vantok::SampleChart chart = vantok::generateSampleChart();
        const QImage wrapped(reinterpret_cast<const uchar *>(chart.constBits()),
                             vantok::SampleChart::Width, vantok::SampleChart::Height,
                             vantok::SampleChart::BytesPerLine, QImage::Format_RGB32);
        QImage shown = wrapped.copy();
        benchmark::DoNotOptimize(shown.constBits());
    }
}
BENCHMARK(generateAndShowChart);

void writeChartBitmap(benchmark::State &state)
{
    const vantok::SampleChart chart = vantok::generateSampleChart();
    for (auto _ : state) {
        QByteArray bitmap = vantok::chartBitmap(chart);
        benchmark::DoNotOptimize(bitmap.constData());
    }
}
BENCHMARK(writeChartBitmap);

}  // namespace
