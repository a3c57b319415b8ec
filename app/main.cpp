// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"
#include "app/display_opening.h"
#include "app/first_paint_report.h"
#include "app/pixel_report.h"
#include "app/windows.h"
#include "controls/accessibility.h"
#include "main_window/main_window.h"
#include "pictures/picture_loader.h"
#include "pictures/picture_source.h"

#include <QApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace
{

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

void nameApplication()
{
    QCoreApplication::setApplicationName(u"Vantok"_s);
    QCoreApplication::setApplicationVersion(u"" VANTOK_VERSION ""_s);
}

// Pixels are printed on a core application, so that no display is opened or needed.
int printPixels(vantok::CommandLine &commandLine, int &argc, char *argv[])
{
    const QCoreApplication app(argc, argv);
    // Again from what Qt read, which on Windows holds the names as typed, whatever the code page.
    commandLine.parse(QCoreApplication::arguments());
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
    if (!commandLine.parse(argumentsOf(argc, argv))) {
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
    // Again from what Qt left, which on Windows holds the names as typed, whatever the code page.
    commandLine.parse(QCoreApplication::arguments());
    const std::optional<QString> picture = commandLine.picture();

    vantok::Windows windows;
    if (picture) {
        vantok::MainWindow *main = windows.mainWindow();
        if (!main->openPicture(vantok::PictureSource::file(*picture), main))
            std::fprintf(stderr, "vantok: cannot load \"%s\" as a picture\n", qPrintable(*picture));
    }
    if (commandLine.grabsScreen())
        windows.grabScreen();  // the main window shows once the pick ends
    else
        windows.mainWindow();
    return QApplication::exec();
}
