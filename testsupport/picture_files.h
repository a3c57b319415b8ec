// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Picture files for tests, fuzz seeds and benchmarks, made in memory: Qt writes BMP, PNG and ICO;
// GIF and PCX, which Qt does not write, are encoded here in their plainest form, and BMP in every
// layout it has.

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRgba64>

#include <functional>
#include <initializer_list>
#include <optional>

namespace vantok::test
{

// Every pixel differs from its neighbours, so a shifted or flipped row shows.
QImage patternPicture(QSize size, int seed = 0);

QByteArray encoded(const QImage &picture, const char *format);

// What QImageReader reads from `file` when it decides the format by content alone; `format`
// gets the format it chose.
QImage readFromContent(const QByteArray &file, QByteArray *format = nullptr);

// The bytes `values`, each taken modulo 256.
QByteArray bytesOf(std::initializer_list<int> values);

// An icon file holding `pictures` in this order, each as Qt writes a one-image icon.
QByteArray iconFile(const QList<QImage> &pictures);

// One PNG chunk: its length, type, data and CRC.
QByteArray pngChunk(QByteArrayView type, const QByteArray &data);

// A PNG of the picture's 16-bit red, green and blue samples (colour type 2), rows unfiltered,
// interlaced by Adam7 when asked, with a tRNS chunk naming `transparent` when given.
QByteArray sixteenBitPngFile(const QImage &picture, bool interlaced,
                             std::optional<QRgba64> transparent);

// A GIF of an 8-bit picture, its codes stored as literals: 9-bit codes, a clear code often
// enough that the decoder's table never widens them.
QByteArray gifFile(const QImage &indexed);

// What a writer puts into a PCX file; bytes() lays it out. scanLines holds every row's planes
// exactly as stored before encoding, bytesPerLine bytes per plane. The header's 16 colours are
// headerColour(0..15).
struct PcxFile {
    int version = 5;
    bool rle = true;
    int bitsPerPixel = 8;
    int planes = 3;
    int width = 1;
    int height = 1;
    int bytesPerLine = 1;
    QByteArray scanLines{};
    QByteArray trailer{};  // what follows the pixel data
    bool runsCrossLines = false;
    QByteArray storedPixels{};  // when set, written instead of the encoded scan lines
    QPoint origin{2, 5};

    QByteArray bytes() const;

    static QRgb headerColour(int index);
    static QRgb trailerColour(int index);
};

// Runs of up to 63 equal bytes, a lone byte that looks like a count stored as a run of one.
QByteArray pcxRle(QByteArrayView raw);

// The 256-colour palette after a PCX picture's pixels, behind its marker byte.
QByteArray pcxPaletteTrailer(const std::function<QRgb(int)> &colour = PcxFile::trailerColour,
                             int marker = 0x0c);

// A 24-bit PCX file: three planes of 8 bits, run-length encoded a line at a time.
QByteArray pcxFile(const QImage &picture);

// What a writer puts into a BMP file; bytes() lays it out. `pixels` holds the rows as stored
// (the bottom row first unless the height is negative) or the compressed stream. Masks go into
// the header when it has room for them, right after a 40-byte one.
struct BmpFile {
    int headerSize = 40;
    int width = 1;
    int height = 1;
    int bitsPerPixel = 24;
    int compression = 0;
    QList<quint32> masks{};
    QList<QRgb> palette{};
    std::optional<quint32> coloursUsed{};  // the palette's length unless set
    int gap = 0;                           // unused bytes between the palette and the pixels
    QByteArray pixels{};

    QByteArray bytes() const;
};

// Rows of stored values, each packed at `bitsPerPixel` (the leftmost pixel in the highest bits
// below 8 bits, little-endian from 16 on) and padded to a multiple of four bytes.
QByteArray bmpRows(const QList<QList<quint32>> &rows, int bitsPerPixel);

bool writeFile(const QString &fileName, const QByteArray &bytes);

}  // namespace vantok::test
