// SPDX-License-Identifier: GPL-3.0-or-later
// What a load costs on top of decoding the file: a 24-megapixel BMP (6000 x 4000, 24 bits per
// pixel, 72 MB) read by a bare QImageReader, by loadPicture, by loadPicture into a picture box,
// and by a click in the chooser's file list through to the picture set in Pic1. The file is
// written once into a temporary folder and read from the page cache after the first round.
// Painting is left out: the picture area's window is never shown.

#include "controls/file_list.h"
#include "controls/image_control.h"
#include "controls/picture_box.h"
#include "controls/wrapped_button.h"
#include "file_chooser/file_chooser.h"
#include "main_window/main_window.h"
#include "pictures/picture_loader.h"
#include "pictures/picture_source.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
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

bool writePicture()
{
    QImage picture(PictureSize, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            line[x] = qRgb(x & 0xff, y & 0xff, (x ^ y) & 0xff);
    }
    return QImageWriter(pictureFile(), "bmp").write(picture);
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

}  // namespace

BENCHMARK(bareDecode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(loadPictureOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(loadIntoPictureBox)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(chooserClick)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    applyPictureSizeLimit();
    if (!folder()->isValid() || !writePicture())
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
