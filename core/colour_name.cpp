// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/colour_name.h"

#include "core/oklab.h"

#include <QStringList>
#include <QStringView>

#include <array>
#include <span>

using namespace Qt::StringLiterals;

namespace vantok
{

namespace
{

struct NamedColour {
    QStringView name;
    quint32 hash;  // 0xRRGGBB
};

// The 148 named colours of CSS Color 4, in alphabetical order.
constexpr NamedColour NamedColours[]{
    {u"aliceblue", 0xF0F8FF},
    {u"antiquewhite", 0xFAEBD7},
    {u"aqua", 0x00FFFF},
    {u"aquamarine", 0x7FFFD4},
    {u"azure", 0xF0FFFF},
    {u"beige", 0xF5F5DC},
    {u"bisque", 0xFFE4C4},
    {u"black", 0x000000},
    {u"blanchedalmond", 0xFFEBCD},
    {u"blue", 0x0000FF},
    {u"blueviolet", 0x8A2BE2},
    {u"brown", 0xA52A2A},
    {u"burlywood", 0xDEB887},
    {u"cadetblue", 0x5F9EA0},
    {u"chartreuse", 0x7FFF00},
    {u"chocolate", 0xD2691E},
    {u"coral", 0xFF7F50},
    {u"cornflowerblue", 0x6495ED},
    {u"cornsilk", 0xFFF8DC},
    {u"crimson", 0xDC143C},
    {u"cyan", 0x00FFFF},
    {u"darkblue", 0x00008B},
    {u"darkcyan", 0x008B8B},
    {u"darkgoldenrod", 0xB8860B},
    {u"darkgray", 0xA9A9A9},
    {u"darkgreen", 0x006400},
    {u"darkgrey", 0xA9A9A9},
    {u"darkkhaki", 0xBDB76B},
    {u"darkmagenta", 0x8B008B},
    {u"darkolivegreen", 0x556B2F},
    {u"darkorange", 0xFF8C00},
    {u"darkorchid", 0x9932CC},
    {u"darkred", 0x8B0000},
    {u"darksalmon", 0xE9967A},
    {u"darkseagreen", 0x8FBC8F},
    {u"darkslateblue", 0x483D8B},
    {u"darkslategray", 0x2F4F4F},
    {u"darkslategrey", 0x2F4F4F},
    {u"darkturquoise", 0x00CED1},
    {u"darkviolet", 0x9400D3},
    {u"deeppink", 0xFF1493},
    {u"deepskyblue", 0x00BFFF},
    {u"dimgray", 0x696969},
    {u"dimgrey", 0x696969},
    {u"dodgerblue", 0x1E90FF},
    {u"firebrick", 0xB22222},
    {u"floralwhite", 0xFFFAF0},
    {u"forestgreen", 0x228B22},
    {u"fuchsia", 0xFF00FF},
    {u"gainsboro", 0xDCDCDC},
    {u"ghostwhite", 0xF8F8FF},
    {u"gold", 0xFFD700},
    {u"goldenrod", 0xDAA520},
    {u"gray", 0x808080},
    {u"green", 0x008000},
    {u"greenyellow", 0xADFF2F},
    {u"grey", 0x808080},
    {u"honeydew", 0xF0FFF0},
    {u"hotpink", 0xFF69B4},
    {u"indianred", 0xCD5C5C},
    {u"indigo", 0x4B0082},
    {u"ivory", 0xFFFFF0},
    {u"khaki", 0xF0E68C},
    {u"lavender", 0xE6E6FA},
    {u"lavenderblush", 0xFFF0F5},
    {u"lawngreen", 0x7CFC00},
    {u"lemonchiffon", 0xFFFACD},
    {u"lightblue", 0xADD8E6},
    {u"lightcoral", 0xF08080},
    {u"lightcyan", 0xE0FFFF},
    {u"lightgoldenrodyellow", 0xFAFAD2},
    {u"lightgray", 0xD3D3D3},
    {u"lightgreen", 0x90EE90},
    {u"lightgrey", 0xD3D3D3},
    {u"lightpink", 0xFFB6C1},
    {u"lightsalmon", 0xFFA07A},
    {u"lightseagreen", 0x20B2AA},
    {u"lightskyblue", 0x87CEFA},
    {u"lightslategray", 0x778899},
    {u"lightslategrey", 0x778899},
    {u"lightsteelblue", 0xB0C4DE},
    {u"lightyellow", 0xFFFFE0},
    {u"lime", 0x00FF00},
    {u"limegreen", 0x32CD32},
    {u"linen", 0xFAF0E6},
    {u"magenta", 0xFF00FF},
    {u"maroon", 0x800000},
    {u"mediumaquamarine", 0x66CDAA},
    {u"mediumblue", 0x0000CD},
    {u"mediumorchid", 0xBA55D3},
    {u"mediumpurple", 0x9370DB},
    {u"mediumseagreen", 0x3CB371},
    {u"mediumslateblue", 0x7B68EE},
    {u"mediumspringgreen", 0x00FA9A},
    {u"mediumturquoise", 0x48D1CC},
    {u"mediumvioletred", 0xC71585},
    {u"midnightblue", 0x191970},
    {u"mintcream", 0xF5FFFA},
    {u"mistyrose", 0xFFE4E1},
    {u"moccasin", 0xFFE4B5},
    {u"navajowhite", 0xFFDEAD},
    {u"navy", 0x000080},
    {u"oldlace", 0xFDF5E6},
    {u"olive", 0x808000},
    {u"olivedrab", 0x6B8E23},
    {u"orange", 0xFFA500},
    {u"orangered", 0xFF4500},
    {u"orchid", 0xDA70D6},
    {u"palegoldenrod", 0xEEE8AA},
    {u"palegreen", 0x98FB98},
    {u"paleturquoise", 0xAFEEEE},
    {u"palevioletred", 0xDB7093},
    {u"papayawhip", 0xFFEFD5},
    {u"peachpuff", 0xFFDAB9},
    {u"peru", 0xCD853F},
    {u"pink", 0xFFC0CB},
    {u"plum", 0xDDA0DD},
    {u"powderblue", 0xB0E0E6},
    {u"purple", 0x800080},
    {u"rebeccapurple", 0x663399},
    {u"red", 0xFF0000},
    {u"rosybrown", 0xBC8F8F},
    {u"royalblue", 0x4169E1},
    {u"saddlebrown", 0x8B4513},
    {u"salmon", 0xFA8072},
    {u"sandybrown", 0xF4A460},
    {u"seagreen", 0x2E8B57},
    {u"seashell", 0xFFF5EE},
    {u"sienna", 0xA0522D},
    {u"silver", 0xC0C0C0},
    {u"skyblue", 0x87CEEB},
    {u"slateblue", 0x6A5ACD},
    {u"slategray", 0x708090},
    {u"slategrey", 0x708090},
    {u"snow", 0xFFFAFA},
    {u"springgreen", 0x00FF7F},
    {u"steelblue", 0x4682B4},
    {u"tan", 0xD2B48C},
    {u"teal", 0x008080},
    {u"thistle", 0xD8BFD8},
    {u"tomato", 0xFF6347},
    {u"turquoise", 0x40E0D0},
    {u"violet", 0xEE82EE},
    {u"wheat", 0xF5DEB3},
    {u"white", 0xFFFFFF},
    {u"whitesmoke", 0xF5F5F5},
    {u"yellow", 0xFFFF00},
    {u"yellowgreen", 0x9ACD32},
};

// The words, from the colour's OKLCH lightness L, chroma C and hue H in degrees. Each table
// holds where a band starts; a colour takes the last band it reaches.
//   L  0 very dark, 0.35 dark, 0.58 (no word), 0.75 light, 0.9 very light
//   C  below 0.02 a grey, which has no strength and whose family is "grey"; from there
//      0.02 greyish, 0.07 (no word), 0.15 strong
//   H  0 pink, 15 red, 40 orange, 85 yellow, 120 green, 165 cyan, 215 blue, 290 purple, 340 pink
// So CSS's red is a "strong red", crimson a "dark, strong red", silver a "light grey" and
// slategrey a "greyish blue".
struct Band {
    double from;
    const char16_t *word;
};
constexpr Band LightnessBands[]{
    {0, u"very dark"}, {0.35, u"dark"}, {0.58, u""}, {0.75, u"light"}, {0.9, u"very light"}};
constexpr double GreyChroma = 0.02;
constexpr Band StrengthBands[]{{GreyChroma, u"greyish"}, {0.07, u""}, {0.15, u"strong"}};
constexpr Band HueBands[]{{0, u"pink"},    {15, u"red"},     {40, u"orange"},
                          {85, u"yellow"}, {120, u"green"},  {165, u"cyan"},
                          {215, u"blue"},  {290, u"purple"}, {340, u"pink"}};

QString wordFor(std::span<const Band> bands, double value)
{
    const Band *reached = &bands.front();
    for (const Band &band : bands) {
        if (value >= band.from)
            reached = &band;
    }
    return QString::fromUtf16(reached->word);
}

constexpr ColourValue fromHash(quint32 hash)
{
    return ColourValue((hash >> 16) & 0xFF) | ColourValue(hash & 0xFF00) |
           (ColourValue(hash & 0xFF) << 16);
}

// Of colours equally near the later in the alphabet wins, so that the greys are spelled "grey",
// and aqua and fuchsia are told by their plainer names, cyan and magenta.
QStringView nearestName(ColourValue colour)
{
    static const auto named = [] {
        std::array<Oklab, std::size(NamedColours)> lab{};
        for (std::size_t i = 0; i < lab.size(); ++i)
            lab[i] = oklabOf(fromHash(NamedColours[i].hash));
        return lab;
    }();
    const Oklab lab = oklabOf(colour);
    std::size_t nearest = 0;
    double nearestDistance = oklabDistance(lab, named[0]);
    for (std::size_t i = 1; i < named.size(); ++i) {
        const double distance = oklabDistance(lab, named[i]);
        if (distance <= nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    return NamedColours[nearest].name;
}

}  // namespace

ColourDescription describeColour(ColourValue colour)
{
    const Oklch lch = oklchOf(colour);
    ColourDescription description{
        nearestName(colour).toString(), wordFor(LightnessBands, lch.lightness), {}, u"grey"_s};
    if (lch.chroma >= GreyChroma) {
        description.strength = wordFor(StrengthBands, lch.chroma);
        description.family = wordFor(HueBands, lch.hue);
    }
    return description;
}

QString ColourDescription::written() const
{
    // A comma only between words of two kinds: "dark, strong red", but "dark red".
    QString words = strength.isEmpty() ? family : strength + u' ' + family;
    if (!lightness.isEmpty())
        words = lightness + (strength.isEmpty() ? u" "_s : u", "_s) + words;
    return u"%1 (%2)"_s.arg(name, words);
}

QString ColourDescription::spoken() const
{
    QStringList words{lightness, strength, family};
    words.removeAll(QString());
    return name + u", "_s + words.join(u' ');
}

}  // namespace vantok
