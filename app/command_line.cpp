// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <QCommandLineOption>

#include <algorithm>
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

// What --as takes.
struct FormName {
    QStringView name;
    ColourForm form;
};
constexpr FormName FormNames[]{
    {u"hex", ColourForm::Hash},  {u"rgb", ColourForm::RgbFunction},
    {u"hsl", ColourForm::Hsl},   {u"oklch", ColourForm::Oklch},
    {u"name", ColourForm::Name}, {u"rgba", ColourForm::RgbaFunction},
};

// "X,Y", two integers. A negative one is well formed: that pixel is reported as outside the
// picture, as one past its right or bottom edge is.
std::optional<QPoint> pixelOf(const QString &text)
{
    const QStringList numbers = text.split(u',');
    if (numbers.size() != 2)
        return std::nullopt;
    bool xRead = false;
    bool yRead = false;
    const QPoint at(numbers[0].toInt(&xRead), numbers[1].toInt(&yRead));
    if (!xRead || !yRead)
        return std::nullopt;
    return at;
}

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
        u"picture"_s,
        u"A picture to show, ready to pick colours from, or to read the pixels of --pixel from."_s,
        u"[PICTURE]"_s);
    m_parser.addOption({u"pixel"_s,
                        u"Prints the colour of pixel X,Y of PICTURE, counted from its top-left "
                        u"corner, and ends without a window. Give it again for more pixels: "
                        u"each prints one line, in order."_s,
                        u"X,Y"_s});
    m_parser.addOption({u"as"_s,
                        u"The form --pixel prints: hex (#RRGGBB, the default), rgb, hsl, "
                        u"oklch, name, or rgba (with the stored alpha)."_s,
                        u"form"_s});
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

bool CommandLine::asksForPixels() const
{
    return m_parser.isSet(u"pixel"_s) || m_parser.isSet(u"as"_s);
}

std::variant<PixelRequest, QString> CommandLine::pixelRequest() const
{
    PixelRequest request;
    if (!m_parser.isSet(u"pixel"_s))
        return u"--as goes with --pixel"_s;
    for (const QString &text : m_parser.values(u"pixel"_s)) {
        const std::optional<QPoint> at = pixelOf(text);
        if (!at)
            return u"--pixel %1: not two integers X,Y"_s.arg(text);
        request.pixels.append(*at);
    }
    if (m_parser.isSet(u"as"_s)) {
        const QString form = m_parser.value(u"as"_s);
        const auto named = std::ranges::find(FormNames, QStringView(form), &FormName::name);
        if (named == std::end(FormNames))
            return u"--as %1: not one of hex, rgb, hsl, oklch, name, rgba"_s.arg(form);
        request.form = named->form;
    }
    const QStringList pictures = m_parser.positionalArguments();
    if (pictures.isEmpty())
        return u"--pixel needs a picture to read"_s;
    if (pictures.size() > 1)
        return u"--pixel reads one picture, not %1"_s.arg(pictures.size());
    request.picture = pictures.constFirst();
    return request;
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
