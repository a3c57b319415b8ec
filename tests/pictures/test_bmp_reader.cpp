// SPDX-License-Identifier: GPL-3.0-or-later
#include "testsupport/picture_files.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QTest>
#include <QtEndian>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <cmath>

using namespace Qt::StringLiterals;
using namespace vantok::test;

namespace
{

constexpr int Rle8 = 1, Rle4 = 2, BitFields = 3, Jpeg = 4, Png = 5, AlphaBitFields = 6;
constexpr QRgb Unset = 0;  // transparent, so the box's back colour shows

const QList<QRgb> Colours{qRgb(10, 20, 30), qRgb(200, 100, 50), qRgb(0, 255, 128),
                          qRgb(255, 255, 255)};

// A picture from its rows, top row first.
QImage pixels(const QList<QList<QRgb>> &rows)
{
    QImage picture(int(rows.value(0).size()), int(rows.size()), QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, rows[y][x]);
    return picture;
}

// The stored value of a channel `bits` wide, as 8 bits.
int level(quint32 value, int bits)
{
    return int(std::lround(value * 255.0 / ((1u << bits) - 1)));
}

QByteArray withDword(QByteArray bytes, int at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

// One row of palette indices.
QByteArray indexedFile(int bits, const QList<QRgb> &palette, const QList<quint32> &row,
                       int headerSize = 40, int gap = 0)
{
    BmpFile file;
    file.headerSize = headerSize;
    file.width = int(row.size());
    file.bitsPerPixel = bits;
    file.palette = palette;
    file.gap = gap;
    file.pixels = bmpRows({row}, bits);
    return file.bytes();
}

// One row of 16-, 24- or 32-bit values, laid out by the masks when compressed as bit fields.
QByteArray directFile(int bits, int compression, const QList<quint32> &masks,
                      const QList<quint32> &row, int headerSize = 40)
{
    BmpFile file;
    file.headerSize = headerSize;
    file.width = int(row.size());
    file.bitsPerPixel = bits;
    file.compression = compression;
    file.masks = masks;
    file.pixels = bmpRows({row}, bits);
    return file.bytes();
}

// Two rows of one 24-bit pixel each, in the order stored; a negative height stores them
// top-down.
QByteArray twoRowFile(int height)
{
    BmpFile file;
    file.height = height;
    file.pixels = bmpRows({{0x010203}, {0x040506}}, 24);
    return file.bytes();
}

QByteArray rleFile(int compression, int width, int height, const QByteArray &stream)
{
    BmpFile file;
    file.width = width;
    file.height = height;
    file.bitsPerPixel = compression == Rle4 ? 4 : 8;
    file.compression = compression;
    file.palette = Colours;
    file.pixels = stream;
    return file.bytes();
}

// A PNG or JPEG stream inside a 124-byte header that gives `size`.
QByteArray embeddingFile(int compression, QSize size, const QByteArray &stream)
{
    BmpFile file;
    file.headerSize = 124;
    file.width = size.width();
    file.height = size.height();
    file.bitsPerPixel = 0;
    file.compression = compression;
    file.pixels = stream;
    return file.bytes();
}

// `width` varied stored values of `bits` each: a row longer than the reader reads at once.
QList<quint32> wideRow(int width, int bits)
{
    QList<quint32> row(width);
    for (int x = 0; x < width; ++x)
        row[x] = (quint32(x) * 0x9e3779b1u >> 7) & ((1u << bits) - 1);
    return row;
}

QList<QRgb> expectedRow(const QList<quint32> &row, const QList<QRgb> &palette)
{
    QList<QRgb> colours(row.size());
    for (qsizetype x = 0; x < row.size(); ++x)
        colours[x] = palette.isEmpty() ? 0xff000000 | row[x] : palette[row[x]];
    return colours;
}

#ifdef __GLIBC__
// Bytes in use on the heap.
std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Notes the most heap in use whenever the reader reads from it.
class HeapWatchingBuffer : public QBuffer
{
public:
    using QBuffer::QBuffer;
    std::size_t mostInUse() const { return m_most; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        m_most = std::max(m_most, heapInUse());
        return QBuffer::readData(data, maxSize);
    }

private:
    std::size_t m_most = 0;
};
#endif

// Fills every fresh heap block with `fill` until destroyed: a byte a decoder leaves unwritten
// then shows as a difference between two loads with different fills. Only glibc's heap can be
// told to; elsewhere (Windows) the two loads are compared as they come.
class HeapFill
{
public:
#ifdef __GLIBC__
    explicit HeapFill(int fill)
    {
        mallopt(M_PERTURB, fill);
    }
    ~HeapFill()
    {
        mallopt(M_PERTURB, 0);
    }
#else
    explicit HeapFill(int) {}
#endif
    HeapFill(const HeapFill &) = delete;
    HeapFill &operator=(const HeapFill &) = delete;
};

template<typename Load>
void checkSameOnEveryLoad(Load load)
{
    QImage first, second;
    {
        const HeapFill fill(0x5a);
        first = load();
    }
    {
        const HeapFill fill(0xc3);
        second = load();
    }
    QCOMPARE(second, first);
}

// How a suite file compares with its reference picture.
enum class Match {
    Exactly,
    WithinOneLevel,
    RedAndGreenSwapped,
    Lossy,
    Refused,
    Anything,  // refused or shown, but safely
};

QString suiteDir()
{
    return QStringLiteral(VANTOK_BMPSUITE_DIR);
}

QImage suitePicture(const QString &name)
{
    QFile file(suiteDir() + u'/' + name);
    return file.open(QIODevice::ReadOnly) ? readFromContent(file.readAll()) : QImage();
}

// Equal as the picture box shows them: pixel for pixel, every fully transparent pixel alike.
bool lookAlike(const QImage &shown, const QImage &reference)
{
    const QImage a = shown.convertToFormat(QImage::Format_ARGB32);
    const QImage b = reference.convertToFormat(QImage::Format_ARGB32);
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (p != q && (qAlpha(p) != 0 || qAlpha(q) != 0))
                return false;
        }
    }
    return true;
}

// The largest difference of one channel between two pixels at the same place.
int largestDifference(const QImage &shown, const QImage &reference)
{
    const QImage a = shown.convertToFormat(QImage::Format_ARGB32);
    const QImage b = reference.convertToFormat(QImage::Format_ARGB32);
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest =
                std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

// The mean difference per channel, for pictures that went through a lossy codec.
double meanDifference(const QImage &shown, const QImage &reference)
{
    const QImage a = shown.convertToFormat(QImage::Format_RGB32);
    const QImage b = reference.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

}  // namespace

Q_DECLARE_METATYPE(Match)

class BmpReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void readsLayouts_data();
    void readsLayouts();
    void scalesEveryChannelWidth_data();
    void scalesEveryChannelWidth();
    void readsEmbeddedJpeg();
    void refuses_data();
    void refuses();
    void honoursAllocationLimit();
    void holdsLittleBesidesThePicture_data();
    void holdsLittleBesidesThePicture();
    void sameOnEveryLoad_data();
    void sameOnEveryLoad();
    void suiteFiles_data();
    void suiteFiles();
};

void BmpReaderTest::readsLayouts_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QImage>("expected");

    const auto [c0, c1, c2, c3] = std::array{Colours[0], Colours[1], Colours[2], Colours[3]};
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    const QList<QRgb> twoColours = Colours.first(2);
    const QList<quint32> rgbMasks{0x00ff0000, 0x0000ff00, 0x000000ff};
    const QList<quint32> argbMasks = rgbMasks + QList<quint32>{0xff000000};
    const QImage embedded = pixels({{c0, c1, c2}, {c3, c2, qRgba(1, 2, 3, 4)}});

    QTest::newRow("1-bit, leftmost pixel in the high bit")
        << indexedFile(1, twoColours, {1, 0, 1, 1, 0, 0, 0, 1, 1})
        << pixels({{c1, c0, c1, c1, c0, c0, c0, c1, c1}});
    QTest::newRow("2-bit") << indexedFile(2, Colours, {0, 1, 2, 3, 2})
                           << pixels({{c0, c1, c2, c3, c2}});
    QTest::newRow("4-bit") << indexedFile(4, Colours, {3, 0, 2}) << pixels({{c3, c0, c2}});
    QTest::newRow("8-bit index past a short palette shows entry 0")
        << indexedFile(8, twoColours, {5, 1, 255}) << pixels({{c0, c1, c0}});
    QTest::newRow("8-bit without a palette shows black")
        << indexedFile(8, {}, {0, 7}) << pixels({{black, black}});
    QTest::newRow("palette longer than the depth reaches")
        << indexedFile(1, Colours, {1, 0}) << pixels({{c1, c0}});
    QTest::newRow("unused bytes between palette and pixels")
        << indexedFile(8, Colours, {3, 2}, 40, 7) << pixels({{c3, c2}});
    QTest::newRow("OS/2 1.x 12-byte header, 3-byte palette entries")
        << indexedFile(8, Colours, {2, 1}, 12) << pixels({{c2, c1}});
    QTest::newRow("OS/2 2.x 16-byte header, a whole palette implied")
        << indexedFile(2, Colours, {3, 1}, 16) << pixels({{c3, c1}});
    QTest::newRow("OS/2 2.x 64-byte header")
        << indexedFile(4, Colours, {1, 2}, 64) << pixels({{c1, c2}});
    QTest::newRow("24-bit blue, green, red, rows padded")
        << directFile(24, 0, {}, {0x102030, 0xff0001, 0x00ff7f, 0x800000, 0x0000fe})
        << pixels({{qRgb(0x10, 0x20, 0x30), qRgb(0xff, 0, 1), qRgb(0, 0xff, 0x7f), qRgb(0x80, 0, 0),
                    qRgb(0, 0, 0xfe)}});
    QTest::newRow("rows stored bottom-up")
        << twoRowFile(2) << pixels({{qRgb(4, 5, 6)}, {qRgb(1, 2, 3)}});
    QTest::newRow("negative height: rows stored top-down")
        << twoRowFile(-2) << pixels({{qRgb(1, 2, 3)}, {qRgb(4, 5, 6)}});
    QTest::newRow("32-bit opaque whatever its fourth byte")
        << directFile(32, 0, {}, {0x7f102030, 0x00fffefd})
        << pixels({{qRgb(0x10, 0x20, 0x30), qRgb(0xff, 0xfe, 0xfd)}});
    QTest::newRow("16-bit 5-5-5 scaled, its top bit ignored")
        << directFile(16, 0, {}, {0x7fff, 0x8421, 0x7c00})
        << pixels({{white, qRgb(level(1, 5), level(1, 5), level(1, 5)), qRgb(255, 0, 0)}});
    QTest::newRow("BITFIELDS 5-6-5")
        << directFile(16, BitFields, {0xf800, 0x07e0, 0x001f}, {0xffff, 0x0020})
        << pixels({{white, qRgb(0, level(1, 6), 0)}});
    QTest::newRow("BITFIELDS 8-bit channels copied, in any order")
        << directFile(32, BitFields, {0x0000ff00, 0xff000000, 0x00ff0000}, {0x0c0b0a09})
        << pixels({{qRgb(0x0a, 0x0c, 0x0b)}});
    QTest::newRow("BITFIELDS of a 40-byte header: opaque")
        << directFile(32, BitFields, rgbMasks, {0x80102030}) << pixels({{qRgb(0x10, 0x20, 0x30)}});
    QTest::newRow("ALPHABITFIELDS: alpha counts")
        << directFile(32, AlphaBitFields, argbMasks, {0x80102030})
        << pixels({{qRgba(0x10, 0x20, 0x30, 0x80)}});
    QTest::newRow("52-byte header holds colour masks, opaque")
        << directFile(32, BitFields, {0xff, 0xff00, 0xff0000}, {0x80102030}, 52)
        << pixels({{qRgb(0x30, 0x20, 0x10)}});
    QTest::newRow("56-byte header: alpha counts")
        << directFile(16, BitFields, {0x0f00, 0x00f0, 0x000f, 0xf000}, {0x1f0f}, 56)
        << pixels({{qRgba(255, 0, 255, level(1, 4))}});
    QTest::newRow("108-byte header with an alpha mask")
        << directFile(32, BitFields, argbMasks, {0x00102030}, 108)
        << pixels({{qRgba(0x10, 0x20, 0x30, 0)}});
    QTest::newRow("124-byte header without an alpha mask: opaque")
        << directFile(32, BitFields, rgbMasks, {0x00102030}, 124)
        << pixels({{qRgb(0x10, 0x20, 0x30)}});
    QTest::newRow("RLE8 runs, literals and line ends, bottom row first")
        << rleFile(Rle8, 4, 2, bytesOf({4, 1, 0, 0, 0, 3, 3, 2, 0, 0, 1, 1, 0, 1}))
        << pixels({{c3, c2, c0, c1}, {c1, c1, c1, c1}});
    QTest::newRow("RLE4 runs alternate two indices, literals pack two a byte")
        << rleFile(Rle4, 5, 1, bytesOf({3, 0x12, 0, 3, 0x30, 0x20, 0, 1}))
        << pixels({{c1, c2, c1, c3, c0}});
    QTest::newRow("RLE delta leaves the pixels it skips transparent")
        << rleFile(Rle8, 3, 2, bytesOf({1, 1, 0, 2, 1, 1, 1, 2, 0, 1}))
        << pixels({{Unset, Unset, c2}, {c1, Unset, Unset}});
    QTest::newRow("RLE early end leaves the rest transparent")
        << rleFile(Rle8, 2, 2, bytesOf({2, 1, 0, 1})) << pixels({{Unset, Unset}, {c1, c1}});
    QTest::newRow("RLE run past the row's end is cut there")
        << rleFile(Rle8, 2, 2, bytesOf({5, 1, 0, 0, 2, 2})) << pixels({{c2, c2}, {c1, c1}});
    QTest::newRow("embedded PNG") << embeddingFile(Png, embedded.size(), encoded(embedded, "png"))
                                  << embedded;

    // Rows of more than 256 KiB are read in pieces.
    const QList<quint32> wide24 = wideRow(100'001, 24);
    QTest::newRow("24-bit row longer than a read, padded")
        << directFile(24, 0, {}, wide24) << pixels({expectedRow(wide24, {})});
    QList<QRgb> sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen.append(qRgb(i * 16, 255 - i * 8, i * 3));
    const QList<quint32> wide4 = wideRow(524'301, 4);
    QTest::newRow("4-bit row longer than a read, its pieces split on whole bytes")
        << indexedFile(4, sixteen, wide4) << pixels({expectedRow(wide4, sixteen)});
}

// Read through QImageReader by content, as the picture loader does: the plugin answers for BMP.
void BmpReaderTest::readsLayouts()
{
    QFETCH(QByteArray, file);
    QFETCH(QImage, expected);
    QByteArray format;
    const QImage read = readFromContent(file, &format);
    QCOMPARE(format, "bmp");
    QCOMPARE(read.convertToFormat(QImage::Format_ARGB32), expected);
}

void BmpReaderTest::scalesEveryChannelWidth_data()
{
    QTest::addColumn<int>("bits");
    // 30 bits is the widest a channel can be beside two others of one bit each.
    for (int bits = 1; bits <= 30; ++bits)
        QTest::addRow("%d bits", bits) << bits;
}

// Red in the top `bits` of the pixel, green in bit 0 and blue in bit 1.
void BmpReaderTest::scalesEveryChannelWidth()
{
    QFETCH(int, bits);
    const quint32 max = (1u << bits) - 1;
    const int shift = 32 - bits;
    const QList<quint32> reds{0, 1, max / 2, max - 1, max};
    QList<quint32> row;
    QList<QRgb> expected;
    for (const quint32 red : reds) {
        row << (red << shift | 1u);
        expected << qRgb(level(red, bits), 255, 0);
    }
    const QByteArray file = directFile(32, BitFields, {max << shift, 1u, 2u}, row);
    QCOMPARE(readFromContent(file).convertToFormat(QImage::Format_ARGB32), pixels({expected}));
}

// A flat colour survives the lossy codec; the header's size is the picture's.
void BmpReaderTest::readsEmbeddedJpeg()
{
    QImage flat(16, 8, QImage::Format_RGB32);
    flat.fill(qRgb(128, 128, 128));
    const QByteArray file = embeddingFile(Jpeg, flat.size(), encoded(flat, "jpeg"));
    const QImage read = readFromContent(file);
    QCOMPARE(read.size(), flat.size());
    QVERIFY(meanDifference(read, flat) < 2);
}

void BmpReaderTest::refuses_data()
{
    QTest::addColumn<QByteArray>("file");

    const auto masked = [](const QList<quint32> &masks, int bits = 32) {
        return directFile(bits, BitFields, masks, {0});
    };
    const QByteArray plain = twoRowFile(2);
    const auto rle = [](const QByteArray &stream) { return rleFile(Rle8, 2, 2, stream); };
    BmpFile huffman;
    huffman.headerSize = 64;
    huffman.bitsPerPixel = 1;
    huffman.compression = BitFields;  // Huffman 1D in an OS/2 header
    huffman.palette = Colours.first(2);
    huffman.pixels = QByteArray(4, '\0');
    BmpFile rle24;
    rle24.headerSize = 64;
    rle24.compression = Jpeg;  // RLE24 in an OS/2 header
    rle24.pixels = bytesOf({1, 0, 0, 0, 0, 1});

    QTest::newRow("an empty colour mask") << masked({0xff, 0xff00, 0});
    QTest::newRow("overlapping masks") << masked({0xff, 0x1f0, 0xff0000});
    QTest::newRow("a 32-bit channel leaves no bits for the others")
        << masked({0xffffffff, 0x1, 0x2});
    QTest::newRow("alpha overlapping a colour")
        << directFile(32, AlphaBitFields, {0xff, 0xff00, 0xff0000, 0x80ff0000}, {0});
    QTest::newRow("a mask with a gap") << masked({0xf0f, 0xf000, 0xff0000});
    QTest::newRow("a mask beyond a 16-bit pixel") << masked({0x1f, 0x7e0, 0x1f800}, 16);
    QTest::newRow("64-bit pixels") << directFile(64, 0, {}, {0});
    QTest::newRow("OS/2 Huffman 1D") << huffman.bytes();
    QTest::newRow("OS/2 RLE24") << rle24.bytes();
    QTest::newRow("a 66-byte header") << directFile(24, 0, {}, {0}, 66);
    QTest::newRow("no width") << directFile(24, 0, {}, {});
    QTest::newRow("rows one byte short") << plain.chopped(1);
    QTest::newRow("pixels said to start inside the header") << withDword(plain, 10, 40);
    QTest::newRow("pixels said to start past the end") << withDword(plain, 10, 1 << 20);
    QTest::newRow("RLE cut before its last row") << rle(bytesOf({2, 1, 0, 0}));
    QTest::newRow("RLE literal cut") << rle(bytesOf({0, 4, 1, 2}));
    QTest::newRow("RLE delta cut") << rle(bytesOf({0, 2, 1}));
    QTest::newRow("RLE stored top-down") << rleFile(Rle8, 1, -1, bytesOf({1, 1, 0, 1}));
    QTest::newRow("embedded PNG of another size")
        << embeddingFile(Png, {3, 3}, encoded(pixels({{Colours[0]}}), "png"));
}

void BmpReaderTest::refuses()
{
    QFETCH(QByteArray, file);
    QVERIFY(readFromContent(file).isNull());
}

// The decoded size is checked against the limit before anything is allocated, whatever the
// file holds.
void BmpReaderTest::honoursAllocationLimit()
{
    const auto grey = [](int height) {
        BmpFile file;
        file.width = 512;
        file.height = height;
        file.pixels = QByteArray(512 * 3 * height, '\x80');
        return file.bytes();
    };
    const int before = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);
    const bool fitsRead = !readFromContent(grey(511)).isNull();  // 1022 KiB as 32-bit pixels
    const bool overRead = !readFromContent(grey(513)).isNull();  // 1026 KiB
    QImageReader::setAllocationLimit(before);
    QVERIFY(fitsRead);
    QVERIFY(!overRead);
}

void BmpReaderTest::holdsLittleBesidesThePicture_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<qsizetype>("mostBesidesFile");  // heap in use while the file is read

    constexpr qsizetype Slack = 512 << 10;  // a piece of a row, and the device's buffer
    BmpFile cut;
    cut.width = 1024;
    cut.height = 1024;
    cut.pixels = QByteArray(1024 * 3, '\x80');
    QTest::newRow("rows cut short: refused before the picture is allocated")
        << cut.bytes() << false << Slack;
    QTest::newRow("RLE stream cut short: refused before the picture is allocated")
        << rleFile(Rle8, 1024, 1024, bytesOf({4, 1, 0, 0})) << false << Slack;
    QTest::newRow("a row longer than a read is not held twice")
        << directFile(24, 0, {}, wideRow(1'000'000, 24)) << true << 4'000'000 + Slack;
}

// Measured on the heap, not in resident memory, so the figures are the same on every run.
void BmpReaderTest::holdsLittleBesidesThePicture()
{
#ifdef __GLIBC__
    QFETCH(QByteArray, file);
    QFETCH(bool, loads);
    QFETCH(qsizetype, mostBesidesFile);
    HeapWatchingBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QImageReader reader(&buffer, "bmp");
    const std::size_t before = heapInUse();
    const QImage read = reader.read();
    QCOMPARE(!read.isNull(), loads);
    const qsizetype besidesFile = qsizetype(buffer.mostInUse()) - qsizetype(before);
    QCOMPARE_LT(besidesFile, mostBesidesFile);
#else
    QSKIP("The heap in use is read through glibc's mallinfo2");
#endif
}

void BmpReaderTest::sameOnEveryLoad_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("RLE delta to the last row, then the end")
        << rleFile(Rle8, 40, 30, bytesOf({3, 1, 0, 2, 9, 29, 2, 2, 0, 1}));
    QTest::newRow("RLE4 with an odd run and a row cut short")
        << rleFile(Rle4, 33, 3, bytesOf({7, 0x12, 0, 0, 40, 0x30, 0, 1}));
    QTest::newRow("1-bit width off a byte")
        << indexedFile(1, Colours.first(2), {1, 0, 1, 1, 0, 0, 1, 0, 1, 1, 1, 0, 1});
}

// No byte of the decoded picture is left as the allocator handed it out.
void BmpReaderTest::sameOnEveryLoad()
{
    QFETCH(QByteArray, file);
    checkSameOnEveryLoad([&file] { return readFromContent(file); });
}

void BmpReaderTest::suiteFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Match>("match");
    QTest::addColumn<QString>("reference");

    if (!QDir(suiteDir()).exists())
        QSKIP(qPrintable(u"The BMP conformance suite is not at %1; put BMP Suite 2.8 there "
                         u"(g/, q/, b/ and html/) to run these checks."_s.arg(suiteDir())));

    const QString pal8 = u"pal8.png"_s, rgb24 = u"rgb24.png"_s, rgba32 = u"rgba32.png"_s;
    const QList<std::tuple<QString, Match, QString>> expected{
        // Good files.
        {u"g/pal1.bmp"_s, Match::Exactly, u"pal1.png"_s},
        {u"g/pal1wb.bmp"_s, Match::Exactly, u"pal1.png"_s},
        {u"g/pal1bg.bmp"_s, Match::Exactly, u"pal1bg.png"_s},
        {u"g/pal4.bmp"_s, Match::Exactly, u"pal4.png"_s},
        {u"g/pal4gs.bmp"_s, Match::Exactly, u"pal4gs.png"_s},
        {u"g/pal4rle.bmp"_s, Match::Exactly, u"pal4.png"_s},
        {u"g/pal8.bmp"_s, Match::Exactly, pal8},
        {u"g/pal8-0.bmp"_s, Match::Exactly, pal8},
        {u"g/pal8gs.bmp"_s, Match::Exactly, u"pal8gs.png"_s},
        {u"g/pal8rle.bmp"_s, Match::Exactly, pal8},
        {u"g/pal8w126.bmp"_s, Match::Exactly, u"pal8w126.png"_s},
        {u"g/pal8w125.bmp"_s, Match::Exactly, u"pal8w125.png"_s},
        {u"g/pal8w124.bmp"_s, Match::Exactly, u"pal8w124.png"_s},
        {u"g/pal8topdown.bmp"_s, Match::Exactly, pal8},
        {u"g/pal8nonsquare.bmp"_s, Match::Exactly, u"pal8nonsquare-e.png"_s},
        {u"g/pal8os2.bmp"_s, Match::Exactly, pal8},
        {u"g/pal8v4.bmp"_s, Match::Exactly, pal8},
        {u"g/pal8v5.bmp"_s, Match::Exactly, pal8},
        {u"g/rgb16.bmp"_s, Match::Exactly, u"rgb16.png"_s},
        {u"g/rgb16bfdef.bmp"_s, Match::Exactly, u"rgb16.png"_s},
        {u"g/rgb16-565.bmp"_s, Match::Exactly, u"rgb16-565.png"_s},
        {u"g/rgb16-565pal.bmp"_s, Match::Exactly, u"rgb16-565.png"_s},
        {u"g/rgb24.bmp"_s, Match::Exactly, rgb24},
        {u"g/rgb24pal.bmp"_s, Match::Exactly, rgb24},
        {u"g/rgb32.bmp"_s, Match::Exactly, rgb24},
        {u"g/rgb32bfdef.bmp"_s, Match::Exactly, rgb24},
        {u"g/rgb32bf.bmp"_s, Match::Exactly, rgb24},
        // Valid rarer files. Unset RLE pixels are transparent, the first of each reference trio.
        {u"q/pal1p1.bmp"_s, Match::Exactly, u"pal1p1.png"_s},
        {u"q/pal2.bmp"_s, Match::Exactly, u"pal2.png"_s},
        {u"q/pal2color.bmp"_s, Match::Exactly, u"pal2color.png"_s},
        {u"q/pal4rletrns.bmp"_s, Match::Exactly, u"pal4rletrns.png"_s},
        {u"q/pal4rlecut.bmp"_s, Match::Exactly, u"pal4rlecut.png"_s},
        {u"q/pal8rletrns.bmp"_s, Match::Exactly, u"pal8rletrns.png"_s},
        {u"q/pal8rlecut.bmp"_s, Match::Exactly, u"pal8rlecut.png"_s},
        {u"q/pal8offs.bmp"_s, Match::Exactly, pal8},
        {u"q/pal8oversizepal.bmp"_s, Match::Exactly, pal8},
        {u"q/pal8os2-sz.bmp"_s, Match::Exactly, pal8},
        {u"q/pal8os2-hs.bmp"_s, Match::Exactly, pal8},
        {u"q/pal8os2sp.bmp"_s, Match::Exactly, pal8},
        {u"q/pal8os2v2.bmp"_s, Match::Exactly, pal8},
        {u"q/pal8os2v2-16.bmp"_s, Match::Exactly, pal8},
        {u"q/pal8os2v2-sz.bmp"_s, Match::Exactly, pal8},
        {u"q/pal8os2v2-40sz.bmp"_s, Match::Exactly, pal8},
        {u"q/rgb16faketrns.bmp"_s, Match::Exactly, u"rgb16.png"_s},
        {u"q/rgb16-231.bmp"_s, Match::Exactly, u"rgb16-231.png"_s},
        {u"q/rgb16-3103.bmp"_s, Match::Exactly, u"rgb16-3103.png"_s},
        {u"q/rgba16-4444.bmp"_s, Match::Exactly, u"rgba16-4444.png"_s},
        {u"q/rgba16-5551.bmp"_s, Match::Exactly, u"rgba16-5551.png"_s},
        {u"q/rgba16-1924.bmp"_s, Match::Exactly, u"rgba16-1924.png"_s},
        {u"q/rgb24largepal.bmp"_s, Match::Exactly, rgb24},
        {u"q/rgb24prof.bmp"_s, Match::Exactly, rgb24},
        {u"q/rgb24lprof.bmp"_s, Match::Exactly, rgb24},
        {u"q/rgb24png.bmp"_s, Match::Exactly, rgb24},
        {u"q/rgb32h52.bmp"_s, Match::Exactly, rgb24},
        {u"q/rgb32-xbgr.bmp"_s, Match::Exactly, rgb24},
        {u"q/rgb32fakealpha.bmp"_s, Match::Exactly, rgb24},
        {u"q/rgba32-1.bmp"_s, Match::Exactly, rgba32},
        {u"q/rgba32-2.bmp"_s, Match::Exactly, rgba32},
        {u"q/rgba32-1010102.bmp"_s, Match::Exactly, u"rgba32-1010102.png"_s},
        {u"q/rgba32-81284.bmp"_s, Match::Exactly, u"rgba32-81284.png"_s},
        {u"q/rgba32abf.bmp"_s, Match::Exactly, rgba32},
        {u"q/rgba32h56.bmp"_s, Match::Exactly, rgba32},
        {u"q/rgb32-7187.bmp"_s, Match::Exactly, u"rgb32-7187.png"_s},      // an 18-bit green
        {u"q/rgba32-61754.bmp"_s, Match::Exactly, u"rgba32-61754.png"_s},  // a 17-bit green
        // Its writer stored some reds one step above what its reference shows.
        {u"q/rgb32-111110.bmp"_s, Match::WithinOneLevel, rgb24},
        // Colours as stored: the profile that would swap red and green back is not applied.
        {u"q/rgb24prof2.bmp"_s, Match::RedAndGreenSwapped, rgb24},
        {u"q/rgb24jpeg.bmp"_s, Match::Lossy, rgb24},
        // 64-bit pixels, OS/2 Huffman 1D and RLE24.
        {u"q/rgba64.bmp"_s, Match::Refused, {}},
        {u"q/pal1huffmsb.bmp"_s, Match::Refused, {}},
        {u"q/rgb24rle24.bmp"_s, Match::Refused, {}},
        // Cut in its rows, like any file that ends before its pixels do.
        {u"b/shortfile.bmp"_s, Match::Refused, {}},
    };
    for (const auto &[file, match, reference] : expected)
        QTest::newRow(qPrintable(file)) << file << match << reference;
    for (const QString &bad : QDir(suiteDir() + u"/b"_s).entryList({u"*.bmp"_s})) {
        if (bad != u"shortfile.bmp")
            QTest::newRow(qPrintable(u"b/"_s + bad))
                << u"b/"_s + bad << Match::Anything << QString();
    }
}

// Every file reads the same on every load; good and valid ones like their reference.
void BmpReaderTest::suiteFiles()
{
    QFETCH(QString, file);
    QFETCH(Match, match);
    QFETCH(QString, reference);
    checkSameOnEveryLoad([&file] { return suitePicture(file); });
    const QImage read = suitePicture(file);
    QImage expected(suiteDir() + u"/html/"_s + reference);
    switch (match) {
    case Match::Exactly:
        QVERIFY(lookAlike(read, expected));
        break;
    case Match::WithinOneLevel:
        QCOMPARE(read.size(), expected.size());
        QCOMPARE(largestDifference(read, expected), 1);
        break;
    case Match::RedAndGreenSwapped:
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                const QRgb p = expected.pixel(x, y);
                expected.setPixel(x, y, qRgb(qGreen(p), qRed(p), qBlue(p)));
            }
        }
        QVERIFY(lookAlike(read, expected));
        break;
    case Match::Lossy:
        QCOMPARE(read.size(), expected.size());
        QVERIFY(meanDifference(read, expected) < 8);  // 47 upside down
        break;
    case Match::Refused:
        QVERIFY(read.isNull());
        break;
    case Match::Anything:
        break;
    }
}

QTEST_GUILESS_MAIN(BmpReaderTest)
#include "test_bmp_reader.moc"
