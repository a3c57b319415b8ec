// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <vector>

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

void appendRle(QByteArray &out, const uchar *plane, int count)
{
    for (int i = 0; i < count;) {
        const uchar value = plane[i];
        int run = 1;
        while (i + run < count && run < 63 && plane[i + run] == value)
            ++run;
        if (run > 1 || value >= 0xc0)
            out += char(0xc0 | run);
        out += char(value);
        i += run;
    }
}

// 8 bits in 3 planes, RLE, one scan line per row.
QByteArray asPcx(const QImage &picture)
{
    QByteArray file(128, '\0');
    const auto putWord = [&file](int at, int value) {
        file[at] = char(value & 0xff);
        file[at + 1] = char(value >> 8);
    };
    file[0] = 0x0a;
    file[1] = 5;
    file[2] = 1;
    file[3] = 8;
    putWord(8, picture.width() - 1);
    putWord(10, picture.height() - 1);
    file[65] = 3;
    putWord(66, picture.width());
    std::vector<uchar> plane(picture.width());
    for (int y = 0; y < picture.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (const int shift : {16, 8, 0}) {  // red, green, blue
            for (int x = 0; x < picture.width(); ++x)
                plane[x] = uchar(line[x] >> shift);
            appendRle(file, plane.data(), picture.width());
        }
    }
    return file;
}

QByteArray asBmp(const QImage &picture)
{
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return file;
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
    static const QByteArray file = asPcx(picture());
    decode(state, file);
}

void decodeBmp(benchmark::State &state)
{
    static const QByteArray file = asBmp(picture());
    decode(state, file);
}

}  // namespace

BENCHMARK(decodePcx)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(decodeBmp)->Unit(benchmark::kMillisecond)->UseRealTime();
