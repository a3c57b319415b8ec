// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/pixel_report.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace vantok
{

// The program's command line: --help, --help-all, --version, --grab, one picture, and --pixel
// with --as, which print pixels of that picture without a window. It also knows the
// options Qt's GUI classes take for themselves (-platform, -style, -qwindowgeometry, ...), so
// that the whole line can be checked before anything opens a display, which only then learns
// them.
class CommandLine
{
public:
    CommandLine();

    // False at an option neither the program nor Qt knows, or one missing its value.
    bool parse(const QStringList &arguments);
    QString errorText() const { return m_parser.errorText(); }
    // Whether the line asks for help or the version, which need no display.
    bool asksForText() const;
    // Prints the help or version text and ends the process with status 0. Needs a
    // QCoreApplication.
    [[noreturn]] void answer(const QStringList &arguments);
    // The picture named, the first of several.
    std::optional<QString> picture() const;
    // --grab: a colour from the screen at once.
    bool grabsScreen() const;
    // Whether the line asks for pixels (--pixel or --as), which are printed without a display.
    bool asksForPixels() const;
    // The pixels and the form asked for, or one line saying what is wrong with the request.
    std::variant<PixelRequest, QString> pixelRequest() const;

private:
    QCommandLineParser m_parser;
};

}  // namespace vantok
