// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <QCommandLineOption>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace vantok
{

namespace
{

// What QApplication and the X11 platform of Qt 6 take out of the command line, with a value or
// without; -sync and the like, which they leave in, stay unknown.
const QStringList QtOptionsWithValue{u"platform"_s,      u"platformpluginpath"_s,
                                     u"platformtheme"_s, u"plugin"_s,
                                     u"qmljsdebugger"_s, u"qwindowgeometry"_s,
                                     u"qwindowicon"_s,   u"qwindowtitle"_s,
                                     u"session"_s,       u"style"_s,
                                     u"stylesheet"_s,    u"display"_s,
                                     u"geometry"_s,      u"icon"_s,
                                     u"name"_s,          u"title"_s,
                                     u"visual"_s};
const QStringList QtFlags{u"reverse"_s, u"widgetcount"_s, u"testability"_s, u"nograb"_s,
                          u"dograb"_s};

void addHidden(QCommandLineParser &parser, const QString &name, const QString &valueName)
{
    QCommandLineOption option(name, QString(), valueName);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
}

}  // namespace

CommandLine::CommandLine()
{
    m_parser.setApplicationDescription(
        u"Reads the red, green and blue values of the colours in a picture."_s);
    // Qt's options are single words after one dash, as in -platform.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addOption({u"grab"_s, u"Pick a colour from the screen at once."_s});
    m_parser.addPositionalArgument(
        u"picture"_s, u"A picture to show, ready to pick colours from."_s, u"[PICTURE]"_s);
    for (const QString &name : QtOptionsWithValue)
        addHidden(m_parser, name, u"value"_s);
    for (const QString &name : QtFlags)
        addHidden(m_parser, name, QString());
}

bool CommandLine::parse(const QStringList &arguments)
{
    return m_parser.parse(arguments);
}

bool CommandLine::asksForText() const
{
    return m_parser.isSet(u"help"_s) || m_parser.isSet(u"help-all"_s) ||
           m_parser.isSet(u"version"_s);
}

void CommandLine::answer(const QStringList &arguments)
{
    m_parser.process(arguments);
    std::exit(0);  // not reached: process() ends the process at help or the version
}

std::optional<QString> CommandLine::picture() const
{
    const QStringList pictures = m_parser.positionalArguments();
    if (pictures.isEmpty())
        return std::nullopt;
    return pictures.constFirst();
}

bool CommandLine::grabsScreen() const
{
    return m_parser.isSet(u"grab"_s);
}

}  // namespace vantok
