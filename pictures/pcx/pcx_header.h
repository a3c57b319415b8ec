// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QRgb>
#include <QSize>

#include <array>
#include <optional>

namespace vantok::pcx
{

using Palette = std::array<QRgb, 256>;

// The 128-byte header of a PCX file, checked so that every size derived from it is usable.
struct Header {
    static constexpr qsizetype ByteSize = 128;

    // Whether the bytes start like a PCX file: maker byte, version, encoding and a pixel layout
    // this reader decodes. Says nothing about whether the sizes add up.
    static bool identifies(QByteArrayView bytes);
    // The header, or nothing when the bytes are not a PCX header or its sizes do not add up.
    static std::optional<Header> parse(QByteArrayView bytes);

    int version = 0;
    bool rle = false;
    int bitsPerPixel = 0;
    int planes = 0;
    int width = 0;
    int height = 0;
    int bytesPerLine = 0;  // per plane; may exceed what the width needs
    Palette headerPalette{};

    QSize size() const { return {width, height}; }
    qsizetype scanLineBytes() const { return qsizetype(planes) * bytesPerLine; }
    qint64 pixelDataBytes() const { return qint64(height) * scanLineBytes(); }
    // 256-colour files keep their palette after the pixel data, at the end of the file.
    bool hasTrailingPalette() const { return bitsPerPixel == 8 && planes == 1; }
    bool hasAlpha() const { return bitsPerPixel == 8 && planes == 4; }
    QImage::Format imageFormat() const
    {
        return hasAlpha() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    }
};

}  // namespace vantok::pcx
