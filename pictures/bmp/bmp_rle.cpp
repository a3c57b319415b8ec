// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/bmp/bmp_rle.h"

#include <algorithm>
#include <cstring>

namespace vantok::bmp
{

namespace
{

constexpr uchar Escape = 0;
constexpr uchar EndOfLine = 0;
constexpr uchar EndOfPicture = 1;
constexpr uchar Delta = 2;

// Where the next pixel goes, counted from the bottom-left corner, and what has been drawn.
class Canvas
{
public:
    // Follows the stream without drawing it.
    explicit Canvas(QSize size) : m_width(size.width()), m_height(size.height()) {}
    explicit Canvas(QImage &image) : Canvas(image.size())
    {
        m_bits = image.bits();
        m_bytesPerLine = image.bytesPerLine();
    }

    bool isFull() const { return m_y >= m_height || (m_y == m_height - 1 && m_x >= m_width); }
    bool allDrawn() const { return m_drawn == qint64(m_width) * m_height; }

    // Draws `count` pixels, colour(i) for the i-th, as far as the row reaches.
    template<typename Colour>
    void draw(int count, Colour colour)
    {
        const int shown = m_y < m_height ? std::min(count, m_width - m_x) : 0;
        if (shown > 0 && m_bits) {
            auto *row = reinterpret_cast<QRgb *>(m_bits + (m_height - 1 - m_y) * m_bytesPerLine);
            for (int i = 0; i < shown; ++i)
                row[m_x + i] = colour(i);
        }
        m_drawn += shown;
        m_x = std::min(m_x + count, m_width);
    }

    void nextLine()
    {
        m_x = 0;
        ++m_y;
    }

    void move(int right, int up)
    {
        m_x = std::min(m_x + right, m_width);
        m_y += up;
    }

private:
    int m_width;
    int m_height;
    uchar *m_bits = nullptr;
    qsizetype m_bytesPerLine = 0;
    int m_x = 0;
    int m_y = 0;
    qint64 m_drawn = 0;
};

// Follows the stream onto the canvas; false when the data ends before the end-of-picture mark
// and before the last row.
bool walk(const Header &header, QByteArrayView data, const Palette &palette, Canvas &canvas)
{
    const bool rle4 = header.compression == Compression::Rle4;
    const auto *in = reinterpret_cast<const uchar *>(data.data());
    const qsizetype end = data.size();
    qsizetype at = 0;
    bool ended = false;

    while (!ended && !canvas.isFull() && end - at >= 2) {
        const uchar count = in[at];
        const uchar value = in[at + 1];
        at += 2;
        if (count != Escape) {
            const QRgb high = palette[rle4 ? value >> 4 : value];
            const QRgb low = palette[rle4 ? value & 0x0f : value];
            canvas.draw(count, [=](int i) { return i % 2 == 0 ? high : low; });
        } else if (value == EndOfLine) {
            canvas.nextLine();
        } else if (value == EndOfPicture) {
            ended = true;
        } else if (value == Delta) {
            if (end - at < 2)
                return false;
            canvas.move(in[at], in[at + 1]);
            at += 2;
        } else {  // literal pixels, padded to a whole number of 16-bit words
            const qsizetype bytes = rle4 ? (value + 1) / 2 : value;
            if (end - at < bytes)
                return false;
            const uchar *literal = in + at;
            if (rle4)
                canvas.draw(value, [=, &palette](int i) {
                    return palette[i % 2 == 0 ? literal[i / 2] >> 4 : literal[i / 2] & 0x0f];
                });
            else
                canvas.draw(value, [=, &palette](int i) { return palette[literal[i]]; });
            at += std::min(bytes + bytes % 2, end - at);
        }
    }
    return ended || canvas.isFull();
}

}  // namespace

bool isWholeRle(const Header &header, QByteArrayView data)
{
    Canvas followed(header.size());
    return walk(header, data, Palette{}, followed);
}

void drawRle(const Header &header, QByteArrayView data, const Palette &palette, QImage &image)
{
    Q_ASSERT(image.size() == header.size() && image.format() == QImage::Format_ARGB32);
    std::memset(image.bits(), 0, image.sizeInBytes());
    Canvas canvas(image);
    walk(header, data, palette, canvas);
    if (canvas.allDrawn())
        image.reinterpretAsFormat(QImage::Format_RGB32);
}

}  // namespace vantok::bmp
