// SPDX-License-Identifier: GPL-3.0-or-later
#include "testsupport/picture_files.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>

namespace vantok::test
{

QImage patternPicture(QSize size, int seed)
{
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(
                x, y,
                qRgb((x * 37 + seed) & 0xff, (y * 53 + seed) & 0xff, (x * y + 3 * seed) & 0xff));
    return picture;
}

QByteArray encoded(const QImage &picture, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(picture);
    return bytes;
}

QByteArray iconFile(const QList<QImage> &pictures)
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

QByteArray pngChunk(QByteArrayView type, const QByteArray &data)
{
    const QByteArray typed = type.toByteArray() + data;
    quint32 crc = 0xffffffff;
    for (const char byte : typed) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xedb88320 : crc >> 1;
    }
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    chunk += typed;
    chunk.resize(chunk.size() + 4);
    qToBigEndian<quint32>(~crc, chunk.data() + chunk.size() - 4);
    return chunk;
}

QByteArray sixteenBitPngFile(const QImage &picture, bool interlaced,
                             std::optional<QRgba64> transparent)
{
    const auto samples = [](QRgba64 colour) {
        QByteArray bytes(6, '\0');
        qToBigEndian<quint16>(colour.red(), bytes.data());
        qToBigEndian<quint16>(colour.green(), bytes.data() + 2);
        qToBigEndian<quint16>(colour.blue(), bytes.data() + 4);
        return bytes;
    };
    struct Pass {
        int x, y, stepX, stepY;
    };
    const QList<Pass> passes =
        interlaced ? QList<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                 {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                   : QList<Pass>{{0, 0, 1, 1}};
    QByteArray raw;
    for (const Pass &pass : passes) {
        if (pass.x >= picture.width())
            continue;  // an empty pass has no rows at all
        for (int y = pass.y; y < picture.height(); y += pass.stepY) {
            raw += '\0';  // no filter
            for (int x = pass.x; x < picture.width(); x += pass.stepX)
                raw += samples(picture.pixelColor(x, y).rgba64());
        }
    }
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(quint32(picture.width()), header.data());
    qToBigEndian<quint32>(quint32(picture.height()), header.data() + 4);
    header[8] = 16;
    header[9] = 2;  // truecolour
    header[12] = interlaced ? 1 : 0;
    QByteArray file = QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header);
    if (transparent)
        file += pngChunk("tRNS", samples(*transparent));
    return file + pngChunk("IDAT", qCompress(raw).sliced(4)) + pngChunk("IEND", {});
}

QByteArray gifFile(const QImage &indexed)
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

QByteArray bmpRows(const QList<QList<quint32>> &rows, int bitsPerPixel)
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

bool writeFile(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QImage readFromContent(const QByteArray &file, QByteArray *format)
{
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (format)
        *format = reader.format();
    return reader.read();
}

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int value : values)
        out += char(value);
    return out;
}

QRgb PcxFile::headerColour(int index)
{
    return qRgb(16 * index, 255 - 16 * index, (37 * index) & 0xff);
}

QRgb PcxFile::trailerColour(int index)
{
    return qRgb(index, 255 - index, (7 * index) & 0xff);
}

QByteArray pcxRle(QByteArrayView raw)
{
    QByteArray out;
    for (qsizetype i = 0; i < raw.size();) {
        const char value = raw[i];
        qsizetype run = 1;
        while (i + run < raw.size() && run < 63 && raw[i + run] == value)
            ++run;
        if (run > 1 || (uchar(value) & 0xc0) == 0xc0)
            out += char(0xc0 | run);
        out += value;
        i += run;
    }
    return out;
}

QByteArray pcxPaletteTrailer(const std::function<QRgb(int)> &colour, int marker)
{
    QByteArray out(1, char(marker));
    for (int i = 0; i < 256; ++i) {
        out += char(qRed(colour(i)));
        out += char(qGreen(colour(i)));
        out += char(qBlue(colour(i)));
    }
    return out;
}

QByteArray PcxFile::bytes() const
{
    QByteArray header(128, '\0');
    const auto putWord = [&header](int at, int value) {
        qToLittleEndian(quint16(value), header.data() + at);
    };
    header[0] = 0x0a;
    header[1] = char(version);
    header[2] = char(rle ? 1 : 0);
    header[3] = char(bitsPerPixel);
    putWord(4, origin.x());
    putWord(6, origin.y());
    putWord(8, origin.x() + width - 1);
    putWord(10, origin.y() + height - 1);
    putWord(12, 72);
    putWord(14, 72);
    for (int i = 0; i < 16; ++i) {
        header[16 + 3 * i] = char(qRed(headerColour(i)));
        header[17 + 3 * i] = char(qGreen(headerColour(i)));
        header[18 + 3 * i] = char(qBlue(headerColour(i)));
    }
    header[65] = char(planes);
    putWord(66, bytesPerLine);
    putWord(68, 1);

    QByteArray pixels;
    const qsizetype lineBytes = qsizetype(planes) * bytesPerLine;
    if (!storedPixels.isEmpty())
        pixels = storedPixels;
    else if (!rle)
        pixels = scanLines;
    else if (runsCrossLines)
        pixels = pcxRle(scanLines);
    else
        for (qsizetype at = 0; at < scanLines.size(); at += lineBytes)
            pixels += pcxRle(
                QByteArrayView(scanLines).sliced(at, qMin(lineBytes, scanLines.size() - at)));
    return header + pixels + trailer;
}

QByteArray pcxFile(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    PcxFile file{.width = rgb.width(),
                 .height = rgb.height(),
                 .bytesPerLine = (rgb.width() + 1) & ~1,
                 .origin = {}};
    file.scanLines.reserve(qsizetype(3) * file.bytesPerLine * rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (const int shift : {16, 8, 0}) {  // red, green, blue
            for (int x = 0; x < file.bytesPerLine; ++x)
                file.scanLines += char(x < rgb.width() ? line[x] >> shift : 0);
        }
    }
    return file.bytes();
}

QByteArray BmpFile::bytes() const
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

}  // namespace vantok::test
