// SPDX-License-Identifier: GPL-3.0-or-later
#include "testsupport/picture_files.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>

using namespace vantok::test;

namespace
{

constexpr int Width = 6000;
constexpr int Height = 4000;

// Flat bands on the left half, noise on the right: the RLE stream mixes long runs with literals.
QImage samplePicture()
{
    QImage picture(Width, Height, QImage::Format_RGB32);
    quint32 noise = 12345;
    for (int y = 0; y < Height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            line[x] = x < Width / 2 ? qRgb(x / 24, y / 16, ((x / 64) ^ (y / 64)) * 37)
                                    : qRgb(noise >> 24, noise >> 16, noise >> 8);
        }
    }
    return picture;
}

const QImage &picture()
{
    static const QImage made = samplePicture();
    return made;
}

void decode(benchmark::State &state, const QByteArray &file)
{
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(file);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setDecideFormatFromContent(true);
        const QImage decoded = reader.read();
        if (decoded.size() != picture().size())
            state.SkipWithError(qPrintable(reader.errorString()));
        benchmark::DoNotOptimize(decoded.constBits());
    }
    state.counters["file MB"] = double(file.size()) / 1e6;
}

void decodePcx(benchmark::State &state)
{
    static const QByteArray file = pcxFile(picture());
    decode(state, file);
}

void decodeBmp(benchmark::State &state)
{
    static const QByteArray file = encoded(picture(), "bmp");
    decode(state, file);
}

}  // namespace

BENCHMARK(decodePcx)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(decodeBmp)->Unit(benchmark::kMillisecond)->UseRealTime();
