// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/first_paint_report.h"
#include "app/windows.h"
#include "controls/accessibility.h"
#include "main_window/main_window.h"
#include "pictures/picture_loader.h"
#include "pictures/picture_source.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

using namespace Qt::StringLiterals;

namespace
{

// The picture named on the command line, the first of several. --help, --help-all and --version
// print their text and end the process with status 0; an option the program does not know prints
// one line on stderr and ends it with status 2. None of them opens a window.
std::optional<QString> pictureArgument()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Reads the red, green and blue values of the colours in a picture."_s);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(u"picture"_s, u"A picture to show, ready to pick colours from."_s,
                                 u"[PICTURE]"_s);
    const QStringList arguments = QCoreApplication::arguments();
    // Qt's own handling ends with status 1 at an unknown option; a usage error is 2.
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "vantok: %s\n", qPrintable(parser.errorText()));
        std::exit(2);
    }
    parser.process(arguments);  // the help and version options
    const QStringList pictures = parser.positionalArguments();
    if (pictures.isEmpty())
        return std::nullopt;
    return pictures.constFirst();
}

// Whether the command line asks for help or the version, which a terminal without a display
// must answer too (help2man, ssh).
bool asksForTextOnly(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--")
            return false;
        for (const char *option : {"-h", "-?", "--help", "--help-all", "-v", "--version"})
            if (argument == option)
                return true;
    }
    return false;
}

void nameApplication()
{
    QCoreApplication::setApplicationName(u"Vantok"_s);
    QCoreApplication::setApplicationVersion(u"" VANTOK_VERSION ""_s);
}

}  // namespace

int main(int argc, char *argv[])
{
    if (asksForTextOnly(argc, argv)) {
        const QCoreApplication app(argc, argv);
        nameApplication();
        pictureArgument();  // prints the text and ends the process
    }
    QApplication app(argc, argv);  // takes Qt's own options, such as -platform, out of the list
    vantok::FirstPaintReport::installIfAsked();
    nameApplication();
    vantok::applyPictureSizeLimit();
    vantok::installAccessibleRoles();
    const std::optional<QString> picture = pictureArgument();

    vantok::Windows windows;
    vantok::MainWindow *main = windows.mainWindow();
    if (picture && !main->openPicture(vantok::PictureSource::file(*picture), main))
        std::fprintf(stderr, "vantok: cannot load \"%s\" as a picture\n", qPrintable(*picture));
    return QApplication::exec();
}
