// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pictures/bmp/bmp_header.h"
#include "pictures/bmp/bmp_palette.h"

#include <QRgb>

#include <array>
#include <vector>

namespace vantok::bmp
{

// One channel of a 16- or 32-bit pixel, scaled to 8 bits by value * 255 / max, rounded to
// nearest. An empty mask reads as 255: the alpha of a picture without one.
class Channel
{
public:
    explicit Channel(quint32 mask);

    uchar operator()(quint32 pixel) const { return m_levels[(pixel & m_mask) >> m_shift]; }

private:
    quint32 m_mask;
    int m_shift;
    std::vector<uchar> m_levels;  // the 8-bit level of every stored value
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
