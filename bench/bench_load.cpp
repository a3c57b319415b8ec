// SPDX-License-Identifier: GPL-3.0-or-later
// What a load costs on top of decoding the file: a 24-megapixel BMP (6000 x 4000, 24 bits per
// pixel, 72 MB) read by a bare QImageReader, by loadPicture, by loadPicture into a picture box,
// and by a click in the chooser's file list through to the picture set in Pic1. And what the
// check for a cut file costs beside the load of a 24-megapixel JPEG (quality 90, with noise so
// that it is as large as a photograph's): at its end marker, and walked through when more follows
// that marker. The files are written once into a temporary folder and read from the page cache
// after the first round. Painting is left out: the picture area's window is never shown.

#include "controls/file_list.h"
#include "controls/image_control.h"
#include "controls/picture_box.h"
#include "controls/wrapped_button.h"
#include "file_chooser/file_chooser.h"
#include "main_window/main_window.h"
#include "pictures/cut_short.h"
#include "pictures/picture_loader.h"
#include "pictures/picture_source.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace vantok;

namespace
{

constexpr QSize PictureSize{6000, 4000};

QTemporaryDir *folder()
{
    static QTemporaryDir dir;
    return &dir;
}

QString pictureFile()
{
    return folder()->filePath(u"LARGE.BMP"_s);
}

QString jpegFile()
{
    return folder()->filePath(u"LARGE.JPG"_s);
}

// The same JPEG with bytes after its end marker, as some cameras leave.
QString trailedJpegFile()
{
    return folder()->filePath(u"TRAILED.JPG"_s);
}

bool writePictures()
{
    QImage picture(PictureSize, QImage::Format_RGB32);
    quint32 noise = 1;
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            line[x] = qRgb(x & 0xff, y & 0xff, (x ^ y) & 0xff);
    }
    if (!QImageWriter(pictureFile(), "bmp").write(picture))
        return false;
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            noise = noise * 1664525 + 1013904223;
            line[x] ^= (noise >> 8) & 0x1f1f1f;
        }
    }
    QImageWriter jpeg(jpegFile(), "jpeg");
    jpeg.setQuality(90);
    if (!jpeg.write(picture))
        return false;
    QFile trailed(trailedJpegFile());
    QFile whole(jpegFile());
    return whole.open(QIODevice::ReadOnly) && trailed.open(QIODevice::WriteOnly) &&
           trailed.write(whole.readAll() + QByteArray(4096, '\0')) > 0;
}

void checkSize(benchmark::State &state, const QImage &picture)
{
    if (picture.size() != PictureSize)
        state.SkipWithError("the picture did not load");
}

void bareDecode(benchmark::State &state)
{
    for (auto _ : state) {
        QImageReader reader(pictureFile());
        QImage picture = reader.read();
        checkSize(state, picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void loadPictureOnly(benchmark::State &state)
{
    for (auto _ : state) {
        QImage picture = loadPicture(pictureFile());
        checkSize(state, picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void loadIntoPictureBox(benchmark::State &state)
{
    PictureBox box;
    for (auto _ : state) {
        box.setPicture(loadPicture(pictureFile()));
        checkSize(state, box.shownPicture());
    }
}

// A click on the selected file loads it again, so every iteration is one whole load, through the
// main window's own load as in the program.
void chooserClick(benchmark::State &state)
{
    MainWindow main;
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder()->path());
    FileChooser chooser([&main] {
        return PictureArea{main.Im, main.Pic1, main.YA, main.Pic2,
                           [&main](const PictureSource &source, QWidget *busyWindow) {
                               return main.openPicture(source, busyWindow);
                           }};
    });
    QDir::setCurrent(before);
    chooser.show();
    while (chooser.File->isReading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const QPoint row = chooser.File->visualRect(chooser.File->model()->index(0, 0)).center();
    for (auto _ : state) {
        QTest::mouseClick(chooser.File->viewport(), Qt::LeftButton, {}, row);
        checkSize(state, main.Pic1->shownPicture());
    }
}

void jpegLoad(benchmark::State &state)
{
    for (auto _ : state) {
        QImage picture = loadPicture(jpegFile());
        checkSize(state, picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void jpegCutCheck(benchmark::State &state, const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        state.SkipWithError("cannot open the JPEG");
    state.counters["bytes"] = double(file.size());
    for (auto _ : state) {
        if (endsCutShort(file, 0, "jpeg"))
            state.SkipWithError("the whole JPEG was taken as cut");
    }
}

void jpegCutCheckAtEndMarker(benchmark::State &state)
{
    jpegCutCheck(state, jpegFile());
}

void jpegCutCheckWalked(benchmark::State &state)
{
    jpegCutCheck(state, trailedJpegFile());
}

}  // namespace

BENCHMARK(bareDecode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(loadPictureOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(loadIntoPictureBox)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(chooserClick)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(jpegLoad)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(jpegCutCheckAtEndMarker)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(jpegCutCheckWalked)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    applyPictureSizeLimit();
    if (!folder()->isValid() || !writePictures())
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
