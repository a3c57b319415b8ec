// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/bmp/bmp_rows.h"

#include <QtEndian>

#include <algorithm>
#include <bit>

namespace vantok::bmp
{

namespace
{

constexpr Masks PlainMasks32{0x00ff0000, 0x0000ff00, 0x000000ff, 0};
constexpr QRgb Opaque = 0xff000000;
constexpr quint64 TabulatedMax = 0xffff;

}  // namespace

Channel::Channel(quint32 mask)
    : m_mask(mask), m_shift(mask == 0 ? 0 : std::countr_zero(mask)),
      m_max((quint64(1) << std::popcount(mask)) - 1)
{
    if (m_max > TabulatedMax)
        return;  // a table for 32 bits would take 4 GiB
    m_levels.resize(m_max + 1);
    for (quint32 value = 0; value <= m_max; ++value)
        m_levels[value] = computed(value << m_shift);
}

RowConverter::RowConverter(const Header &header, const Palette &palette)
    : m_width(header.width), m_bitsPerPixel(header.bitsPerPixel),
      m_palette(palette), m_channels{Channel(header.masks.red), Channel(header.masks.green),
                                     Channel(header.masks.blue), Channel(header.masks.alpha)}
{
    if (header.bitsPerPixel <= 8)
        m_layout = Layout::Indices;
    else if (header.bitsPerPixel == 24)
        m_layout = Layout::Bgr;
    else if (header.bitsPerPixel == 32 && header.masks == PlainMasks32)
        m_layout = Layout::Bgrx;
    else if (header.bitsPerPixel == 16)
        m_layout = Layout::Masked16;
    else if (std::ranges::all_of(m_channels, &Channel::isTabulated))
        m_layout = Layout::Masked32;
    else
        m_layout = Layout::MaskedWide;
}

void RowConverter::convert(const uchar *stored, QRgb *out) const
{
    switch (m_layout) {
    case Layout::Indices:
        convertIndices(stored, out);
        break;
    case Layout::Bgr:
        convertBgr(stored, out);
        break;
    case Layout::Bgrx:
        for (int x = 0; x < m_width; ++x)
            out[x] = Opaque | qFromLittleEndian<quint32>(stored + 4 * x);
        break;
    case Layout::Masked16:
        convertMasked<quint16>(stored, out);
        break;
    case Layout::Masked32:
        convertMasked<quint32>(stored, out);
        break;
    case Layout::MaskedWide:
        convertMaskedWide(stored, out);
        break;
    }
}

// Four pixels from three little-endian words at a time: b0 g0 r0 b1 | g1 r1 b2 g2 | r2 b3 g3 r3.
void RowConverter::convertBgr(const uchar *stored, QRgb *out) const
{
    int x = 0;
    for (; x + 4 <= m_width; x += 4, stored += 12) {
        const quint32 a = qFromLittleEndian<quint32>(stored);
        const quint32 b = qFromLittleEndian<quint32>(stored + 4);
        const quint32 c = qFromLittleEndian<quint32>(stored + 8);
        out[x] = Opaque | (a & 0xffffff);
        out[x + 1] = Opaque | a >> 24 | (b & 0xffff) << 8;
        out[x + 2] = Opaque | b >> 16 | (c & 0xff) << 16;
        out[x + 3] = Opaque | c >> 8;
    }
    for (; x < m_width; ++x, stored += 3)
        out[x] = Opaque | QRgb(stored[2]) << 16 | QRgb(stored[1]) << 8 | stored[0];
}

// The leftmost pixel sits in the highest bits of its byte.
void RowConverter::convertIndices(const uchar *stored, QRgb *out) const
{
    if (m_bitsPerPixel == 8) {
        for (int x = 0; x < m_width; ++x)
            out[x] = m_palette[stored[x]];
        return;
    }
    const int bits = m_bitsPerPixel;
    const int perByte = 8 / bits;
    const int mask = (1 << bits) - 1;
    for (int x = 0; x < m_width; ++x) {
        const int shift = 8 - bits * (x % perByte + 1);
        out[x] = m_palette[(stored[x / perByte] >> shift) & mask];
    }
}

template<typename Word>
void RowConverter::convertMasked(const uchar *stored, QRgb *out) const
{
    const auto &[red, green, blue, alpha] = m_channels;
    for (int x = 0; x < m_width; ++x) {
        const quint32 pixel = qFromLittleEndian<Word>(stored + sizeof(Word) * x);
        out[x] = qRgba(red(pixel), green(pixel), blue(pixel), alpha(pixel));
    }
}

// A channel wider than 16 bits has no table and takes a division; the others keep theirs.
void RowConverter::convertMaskedWide(const uchar *stored, QRgb *out) const
{
    const auto level = [](const Channel &channel, quint32 pixel) {
        return channel.isTabulated() ? channel(pixel) : channel.computed(pixel);
    };
    const auto &[red, green, blue, alpha] = m_channels;
    for (int x = 0; x < m_width; ++x) {
        const quint32 pixel = qFromLittleEndian<quint32>(stored + 4 * x);
        out[x] =
            qRgba(level(red, pixel), level(green, pixel), level(blue, pixel), level(alpha, pixel));
    }
}

}  // namespace vantok::bmp
