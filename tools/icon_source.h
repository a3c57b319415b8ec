// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace vantok
{

// The standard 16-colour palette of the icons, 0xRRGGBB by index.
inline constexpr std::array<quint32, 16> IconPalette{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// An icon image kept as editable text: one line per row, one character per pixel, a
// hexadecimal digit for a palette index or '.' for a transparent pixel. Lines starting with
// '#' are comments.
class IconSource
{
public:
    static constexpr int Transparent = -1;
    static constexpr int MaximumSize = 256;  // what an icon directory entry can say

    static std::optional<IconSource> parse(QByteArrayView text, QString *error = nullptr);
    static std::optional<IconSource> read(const QString &path, QString *error = nullptr);

    int width() const { return m_width; }
    int height() const { return m_height; }
    // A palette index, or Transparent.
    int index(int x, int y) const { return m_indices.at(y * m_width + x); }
    bool isTransparent(int x, int y) const { return index(x, y) == Transparent; }

private:
    int m_width = 0;
    int m_height = 0;
    QList<qint8> m_indices;
};

}  // namespace vantok
