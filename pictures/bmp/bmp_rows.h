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

    uchar operator()(quint32 pixel) const
    {
        const quint32 value = (pixel & m_mask) >> m_shift;
        return m_levels.empty() ? scaled(value) : m_levels[value];
    }

private:
    // max is odd, so never a tie; 64 bits hold value * 255 for any width up to 32.
    uchar scaled(quint64 value) const { return uchar((value * 255 + m_max / 2) / m_max); }

    quint32 m_mask;
    int m_shift;
    quint64 m_max;
    std::vector<uchar> m_levels;  // every stored value's level, when 16 bits wide or less
};

// Turns the stored rows of an uncompressed picture into 32-bit pixels, every pixel of the row.
class RowConverter
{
public:
    RowConverter(const Header &header, const Palette &palette);

    void convert(const uchar *stored, QRgb *out) const;

private:
    enum class Layout { Indices, Bgr, Bgrx, Masked16, Masked32 };

    void convertBgr(const uchar *stored, QRgb *out) const;
    void convertIndices(const uchar *stored, QRgb *out) const;
    template<typename Word>
    void convertMasked(const uchar *stored, QRgb *out) const;

    Layout m_layout;
    int m_width;
    int m_bitsPerPixel;
    const Palette &m_palette;
    std::array<Channel, 4> m_channels;  // red, green, blue, alpha
};

}  // namespace vantok::bmp
