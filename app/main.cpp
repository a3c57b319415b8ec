// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"
#include "app/display_opening.h"
#include "app/first_paint_report.h"
#include "app/pixel_report.h"
#include "app/windows.h"
#include "controls/accessibility.h"
#include "core/file_name.h"
#include "main_window/main_window.h"
#include "pictures/picture_loader.h"
#include "pictures/picture_source.h"

#include <QApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace
{

void nameApplication()
{
    QCoreApplication::setApplicationName(u"Vantok"_s);
    QCoreApplication::setApplicationVersion(u"" VANTOK_VERSION ""_s);
}

// Pixels are printed on a core application, so that no display is opened or needed.
int printPixels(vantok::CommandLine &commandLine, int &argc, char *argv[])
{
    const QCoreApplication app(argc, argv);
    // Again now that Qt is there: on Windows it holds the names as typed, whatever the code page.
    commandLine.parse(vantok::commandLineArguments(argc, argv));
    const auto request = commandLine.pixelRequest();
    if (const auto *whyNot = std::get_if<QString>(&request)) {
        std::fprintf(stderr, "vantok: %s\n", qPrintable(*whyNot));
        return 2;  // a usage error, as an unknown option is
    }
    vantok::applyPictureSizeLimit();
    return vantok::reportPixels(std::get<vantok::PixelRequest>(request));
}

}  // namespace

int main(int argc, char *argv[])
{
    // The options first: an unknown one, help and the version need no display.
    vantok::CommandLine commandLine;
    if (!commandLine.parse(vantok::commandLineArguments(argc, argv))) {
        // Qt's own handling ends with status 1 at an unknown option; a usage error is 2.
        std::fprintf(stderr, "vantok: %s\n", qPrintable(commandLine.errorText()));
        return 2;
    }
    if (commandLine.asksForText()) {
        const QCoreApplication app(argc, argv);
        nameApplication();
        commandLine.answer(QCoreApplication::arguments());
    }
    if (commandLine.asksForPixels())
        return printPixels(commandLine, argc, argv);

    const auto app = vantok::openDisplay(argc, argv);  // takes Qt's own options out of the list
    vantok::FirstPaintReport::installIfAsked();
    nameApplication();
    vantok::applyPictureSizeLimit();
    vantok::installAccessibleRoles();
    // Again from what Qt left, its own options taken out, with the names whole.
    commandLine.parse(vantok::commandLineArguments(argc, argv));
    const std::optional<QString> picture = commandLine.picture();

    vantok::Windows windows;
    if (picture) {
        vantok::MainWindow *main = windows.mainWindow();
        main->openPicture(vantok::PictureSource::file(*picture), main);  // says why it fails
    }
    if (commandLine.grabsScreen())
        windows.grabScreen();  // the main window shows once the pick ends
    else
        windows.mainWindow();
    return QApplication::exec();
}
