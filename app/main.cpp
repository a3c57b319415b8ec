// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"
#include "app/display_opening.h"
#include "app/first_paint_report.h"
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

    const auto app = vantok::openDisplay(argc, argv);  // takes Qt's own options out of the list
    vantok::FirstPaintReport::installIfAsked();
    nameApplication();
    vantok::applyPictureSizeLimit();
    vantok::installAccessibleRoles();
    // Again from what Qt left, its own options taken out, with the names whole.
    commandLine.parse(vantok::commandLineArguments(argc, argv));
    const std::optional<QString> picture = commandLine.picture();

    vantok::Windows windows;
    vantok::MainWindow *main = windows.mainWindow();
    if (picture)
        main->openPicture(vantok::PictureSource::file(*picture), main);  // says why it fails
    return QApplication::exec();
}
