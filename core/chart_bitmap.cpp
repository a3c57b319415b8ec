// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/chart_bitmap.h"
#include "core/sample_chart.h"

#include <QtEndian>

#include <algorithm>

namespace vantok
{

namespace
{

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr int RowSize = (SampleChart::Width * 3 + 3) / 4 * 4;
constexpr int ImageSize = RowSize * SampleChart::Height;
constexpr int FileSize = FileHeaderSize + InfoHeaderSize + ImageSize;
// The resolution the chart was saved with, slightly different across and down.
constexpr int PixelsPerMetreAcross = 3790;
constexpr int PixelsPerMetreDown = 3780;

class LittleEndianWriter
{
public:
    explicit LittleEndianWriter(char *at) : m_at(at) {}
    void bytes(const char *text, int count) { m_at = std::copy_n(text, count, m_at); }
    void u16(quint16 value) { put(value); }
    void u32(quint32 value) { put(value); }

private:
    template<typename T>
    void put(T value)
    {
        qToLittleEndian(value, m_at);
        m_at += sizeof(T);
    }
    char *m_at;
};

}  // namespace

QByteArray chartBitmap(const SampleChart &chart)
{
    QByteArray file(FileSize, '\0');  // pad bytes stay zero
    LittleEndianWriter header(file.data());
    header.bytes("BM", 2);
    header.u32(FileSize);
    header.u16(0);
    header.u16(0);
    header.u32(FileHeaderSize + InfoHeaderSize);

    header.u32(InfoHeaderSize);
    header.u32(SampleChart::Width);
    header.u32(SampleChart::Height);  // positive: bottom row first
    header.u16(1);                    // planes
    header.u16(24);                   // bits per pixel
    header.u32(0);                    // no compression
    header.u32(ImageSize);
    header.u32(PixelsPerMetreAcross);
    header.u32(PixelsPerMetreDown);
    header.u32(0);  // no colour table
    header.u32(0);

    char *row = file.data() + FileHeaderSize + InfoHeaderSize;
    for (int y = SampleChart::Height - 1; y >= 0; --y, row += RowSize) {
        char *out = row;
        for (int x = 0; x < SampleChart::Width; ++x) {
            const quint32 pixel = chart.pixel(x, y);
            *out++ = char(pixel & 0xFF);
            *out++ = char(pixel >> 8 & 0xFF);
            *out++ = char(pixel >> 16 & 0xFF);
        }
    }
    return file;
}

}  // namespace vantok
