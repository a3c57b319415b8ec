// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding a 3840 x 2160 24-bit BMP (25 MB) by Vantok's reader and by Qt's built-in one, from
// memory. This program links the reader without its plugin, so QImageReader still reaches Qt's
// decoder for "bmp" while BmpHandler is called directly; both run in the same process. The floor
// is a plain copy of the rows plus the blue-green-red to 32-bit loop, for scale.

#include "pictures/bmp/bmp_handler.h"
#include "testsupport/picture_files.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPluginLoader>

#include <algorithm>
#include <vector>

namespace
{

constexpr int Width = 3840;
constexpr int Height = 2160;

// Smooth gradients with noise in the low bits, as a photograph has.
QByteArray bmpFile()
{
    QImage picture(Width, Height, QImage::Format_RGB32);
    quint32 noise = 12345;
    for (int y = 0; y < Height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            line[x] = qRgb((x / 16 + (noise >> 29)) & 0xff, (y / 9 + (noise >> 26)) & 0xff,
                           ((x + y) / 24) & 0xff);
        }
    }
    return vantok::test::encoded(picture, "bmp");
}

const QByteArray &file()
{
    static const QByteArray made = bmpFile();
    return made;
}

void check(benchmark::State &state, const QImage &decoded)
{
    if (decoded.size() != QSize(Width, Height))
        state.SkipWithError("the picture did not decode");
    benchmark::DoNotOptimize(decoded.constBits());
}

void decodeOwn(benchmark::State &state)
{
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(file());
        buffer.open(QIODevice::ReadOnly);
        vantok::BmpHandler handler;
        handler.setDevice(&buffer);
        QImage decoded;
        handler.read(&decoded);
        check(state, decoded);
    }
}

// Linking the plugin, directly or through a library, would make this Vantok's reader too.
bool qtReadsBmp()
{
    const QObjectList plugins = QPluginLoader::staticInstances();
    return std::none_of(plugins.begin(), plugins.end(), [](const QObject *plugin) {
        return qstrcmp(plugin->metaObject()->className(), "vantok::BmpPlugin") == 0;
    });
}

void decodeQt(benchmark::State &state)
{
    if (!qtReadsBmp())
        state.SkipWithError("the BMP plugin is linked: Qt's decoder is out of reach");
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(file());
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "bmp");
        check(state, reader.read());
    }
}

void floorReadAndConvert(benchmark::State &state)
{
    constexpr qsizetype RowBytes = (Width * 3 + 3) & ~3;
    constexpr qsizetype PixelOffset = 54;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(file());
        buffer.open(QIODevice::ReadOnly);
        buffer.seek(PixelOffset);
        std::vector<uchar> rows(RowBytes * Height);
        buffer.read(reinterpret_cast<char *>(rows.data()), qint64(rows.size()));
        QImage decoded(Width, Height, QImage::Format_RGB32);
        for (int y = 0; y < Height; ++y) {
            const uchar *in = rows.data() + (Height - 1 - y) * RowBytes;
            auto *out = reinterpret_cast<QRgb *>(decoded.scanLine(y));
            for (int x = 0; x < Width; ++x, in += 3)
                out[x] = qRgb(in[2], in[1], in[0]);
        }
        check(state, decoded);
    }
}

}  // namespace

BENCHMARK(decodeOwn)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(decodeQt)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(floorReadAndConvert)->Unit(benchmark::kMillisecond)->UseRealTime();
