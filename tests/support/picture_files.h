// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Picture files for tests, made in memory: Qt writes BMP, PNG and ICO; GIF and PCX, which Qt
// does not write, are encoded here in their plainest form, and BMP in every layout it has.

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QtEndian>

#include <optional>

namespace vantok::test
{

// Every pixel differs from its neighbours, so a shifted or flipped row shows.
inline QImage patternPicture(QSize size, int seed = 0)
{
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(
                x, y,
                qRgb((x * 37 + seed) & 0xff, (y * 53 + seed) & 0xff, (x * y + 3 * seed) & 0xff));
    return picture;
}

inline QByteArray encoded(const QImage &picture, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(picture);
    return bytes;
}

// An icon file holding `pictures` in this order, each as Qt writes a one-image icon.
inline QByteArray iconFile(const QList<QImage> &pictures)
{
    constexpr int DirectorySize = 6;
    constexpr int EntrySize = 16;
    QByteArray directory(DirectorySize, '\0');
    qToLittleEndian<quint16>(1, directory.data() + 2);
    qToLittleEndian<quint16>(quint16(pictures.size()), directory.data() + 4);
    QByteArray data;
    const qsizetype dataStart = DirectorySize + EntrySize * pictures.size();
    for (const QImage &picture : pictures) {
        const QByteArray single = encoded(picture, "ico");
        QByteArray entry = single.mid(DirectorySize, EntrySize);
        const auto bytes = qFromLittleEndian<quint32>(entry.constData() + 8);
        const auto offset = qFromLittleEndian<quint32>(entry.constData() + 12);
        qToLittleEndian<quint32>(quint32(dataStart + data.size()), entry.data() + 12);
        directory += entry;
        data += single.mid(offset, bytes);
    }
    return directory + data;
}

// A GIF of an 8-bit picture, its codes stored as literals: 9-bit codes, a clear code often
// enough that the decoder's table never widens them.
inline QByteArray gifFile(const QImage &indexed)
{
    Q_ASSERT(indexed.format() == QImage::Format_Indexed8);
    auto word = [](int value) {
        QByteArray bytes(2, '\0');
        qToLittleEndian<quint16>(quint16(value), bytes.data());
        return bytes;
    };
    QByteArray out = "GIF89a" + word(indexed.width()) + word(indexed.height());
    out += char(0xf7);  // a global table of 256 colours
    out += QByteArray(2, '\0');
    for (int i = 0; i < 256; ++i) {
        const QRgb colour = i < indexed.colorCount() ? indexed.color(i) : 0;
        out += char(qRed(colour));
        out += char(qGreen(colour));
        out += char(qBlue(colour));
    }
    out += ',' + word(0) + word(0) + word(indexed.width()) + word(indexed.height()) + '\0';
    out += char(8);  // minimum code size

    constexpr int Clear = 256, End = 257, CodesPerClear = 200;
    QByteArray codes;
    quint32 bits = 0;
    int bitCount = 0;
    auto put = [&](int code) {
        bits |= quint32(code) << bitCount;
        for (bitCount += 9; bitCount >= 8; bitCount -= 8, bits >>= 8)
            codes += char(bits & 0xff);
    };
    int sinceClear = CodesPerClear;
    for (int y = 0; y < indexed.height(); ++y) {
        for (int x = 0; x < indexed.width(); ++x) {
            if (sinceClear++ == CodesPerClear) {
                put(Clear);
                sinceClear = 1;
            }
            put(indexed.pixelIndex(x, y));
        }
    }
    put(End);
    if (bitCount > 0)
        codes += char(bits & 0xff);
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        out += char(block.size()) + block;
    }
    out += '\0';
    out += ';';
    return out;
}

// A 24-bit PCX file: three planes of 8 bits, run-length encoded.
inline QByteArray pcxFile(const QImage &picture)
{
    const int width = picture.width();
    const int height = picture.height();
    const int bytesPerLine = (width + 1) & ~1;
    QByteArray header(128, '\0');
    header[0] = 0x0a;  // maker
    header[1] = 5;     // version
    header[2] = 1;     // run-length encoded
    header[3] = 8;     // bits per pixel and plane
    qToLittleEndian<quint16>(quint16(width - 1), header.data() + 8);
    qToLittleEndian<quint16>(quint16(height - 1), header.data() + 10);
    qToLittleEndian<quint16>(72, header.data() + 12);
    qToLittleEndian<quint16>(72, header.data() + 14);
    header[65] = 3;  // planes
    qToLittleEndian<quint16>(quint16(bytesPerLine), header.data() + 66);
    qToLittleEndian<quint16>(1, header.data() + 68);

    QByteArray out = header;
    for (int y = 0; y < height; ++y) {
        for (const int shift : {16, 8, 0}) {  // red, green, blue
            for (int x = 0; x < bytesPerLine; ++x) {
                const int value = x < width ? (picture.pixel(x, y) >> shift) & 0xff : 0;
                if ((value & 0xc0) == 0xc0)
                    out += char(0xc1);  // a run of one, since the byte looks like a count
                out += char(value);
            }
        }
    }
    return out;
}

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

    QByteArray bytes() const
    {
        const bool core = headerSize == 12;
        QByteArray info(headerSize, '\0');
        const auto put = [&info](int at, auto value) {
            if (at + int(sizeof value) <= info.size())
                qToLittleEndian(value, info.data() + at);
        };
        put(0, quint32(headerSize));
        if (core) {
            put(4, quint16(width));
            put(6, quint16(height));
            put(8, quint16(1));
            put(10, quint16(bitsPerPixel));
        } else {
            put(4, qint32(width));
            put(8, qint32(height));
            put(12, quint16(1));
            put(14, quint16(bitsPerPixel));
            put(16, quint32(compression));
            put(20, quint32(pixels.size()));
            put(32, coloursUsed.value_or(quint32(palette.size())));
        }
        QByteArray afterHeader;
        for (qsizetype i = 0; i < masks.size(); ++i) {
            if (headerSize >= 52) {
                put(40 + 4 * int(i), masks[i]);
            } else {
                afterHeader += QByteArray(4, '\0');
                qToLittleEndian(masks[i], afterHeader.data() + 4 * i);
            }
        }
        for (const QRgb colour : palette) {
            afterHeader += char(qBlue(colour));
            afterHeader += char(qGreen(colour));
            afterHeader += char(qRed(colour));
            if (!core)
                afterHeader += '\0';
        }
        afterHeader += QByteArray(gap, '\0');

        QByteArray file(14, '\0');
        const quint32 offset = quint32(14 + info.size() + afterHeader.size());
        file[0] = 'B';
        file[1] = 'M';
        qToLittleEndian(quint32(offset + pixels.size()), file.data() + 2);
        qToLittleEndian(offset, file.data() + 10);
        return file + info + afterHeader + pixels;
    }
};

// Rows of stored values, each packed at `bitsPerPixel` (the leftmost pixel in the highest bits
// below 8 bits, little-endian from 16 on) and padded to a multiple of four bytes.
inline QByteArray bmpRows(const QList<QList<quint32>> &rows, int bitsPerPixel)
{
    QByteArray out;
    for (const QList<quint32> &row : rows) {
        QByteArray packed;
        if (bitsPerPixel < 8) {
            packed.fill('\0', (row.size() * bitsPerPixel + 7) / 8);
            for (qsizetype x = 0; x < row.size(); ++x) {
                const qsizetype bit = x * bitsPerPixel;
                packed[bit / 8] = char(packed[bit / 8] | row[x] << (8 - bitsPerPixel - bit % 8));
            }
        } else {
            for (const quint32 value : row)
                for (int byte = 0; byte < bitsPerPixel / 8; ++byte)
                    packed += char(quint64(value) >> (8 * byte));
        }
        out += packed + QByteArray(-packed.size() & 3, '\0');
    }
    return out;
}

inline bool writeFile(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace vantok::test
