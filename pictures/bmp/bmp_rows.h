// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pictures/bmp/bmp_header.h"
#include "pictures/bmp/bmp_palette.h"

#include <QRgb>

#include <array>
#include <vector>

namespace vantok::bmp
{

// One channel of a 16- or 32-bit pixel, 1 to 32 bits wide, scaled to 8 bits by
// value * 255 / max, rounded to nearest. An empty mask reads as 255: the alpha of a picture
// without one.
class Channel
{
public:
    explicit Channel(quint32 mask);

    // Whether its levels come from a table, as for every channel of 16 bits or fewer.
    bool isTabulated() const { return !m_levels.empty(); }
    // The level from the table; only for a tabulated channel.
    uchar operator()(quint32 pixel) const { return m_levels[(pixel & m_mask) >> m_shift]; }
    // The level by arithmetic, for any width; 64 bits hold value * 255 for 32-bit channels.
    uchar computed(quint32 pixel) const
    {
        const quint64 value = (pixel & m_mask) >> m_shift;
        return m_max == 0 ? 255 : uchar((value * 255 + m_max / 2) / m_max);  // max odd: no tie
    }

private:
    quint32 m_mask;
    int m_shift;
    quint64 m_max;
    std::vector<uchar> m_levels;  // every stored value's level
};

// Turns the stored rows of an uncompressed picture into 32-bit pixels, every pixel of the row.
class RowConverter
{
public:
    RowConverter(const Header &header, const Palette &palette);

    void convert(const uchar *stored, QRgb *out) const;

private:
    enum class Layout { Indices, Bgr, Bgrx, Masked16, Masked32, MaskedWide };

    void convertBgr(const uchar *stored, QRgb *out) const;
    void convertIndices(const uchar *stored, QRgb *out) const;
    template<typename Word>
    void convertMasked(const uchar *stored, QRgb *out) const;
    void convertMaskedWide(const uchar *stored, QRgb *out) const;

    Layout m_layout;
    int m_width;
    int m_bitsPerPixel;
    const Palette &m_palette;
    std::array<Channel, 4> m_channels;  // red, green, blue, alpha
};

}  // namespace vantok::bmp
