// SPDX-License-Identifier: GPL-3.0-or-later
#include "testsupport/picture_files.h"

#include <QBuffer>
#include <QImageIOPlugin>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace vantok::test;

namespace
{

QImage readAsPcx(const QByteArray &file)
{
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer, "pcx").read();
}

// Hands out its bytes once, front to back, and cannot seek: a pipe.
class Pipe : public QIODevice
{
public:
    explicit Pipe(QByteArray data) : data_(std::move(data)) { open(ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return data_.size() - read_ + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char *to, qint64 most) override
    {
        const qint64 count = qMin(most, data_.size() - read_);
        std::copy_n(data_.constData() + read_, count, to);
        read_ += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray data_;
    qint64 read_ = 0;
};

QList<QRgb> pixelsOf(const QImage &image)
{
    QList<QRgb> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            pixels += image.pixel(x, y);
    return pixels;
}

QImageIOPlugin *pcxPlugin()
{
    for (const QStaticPlugin &plugin : QPluginLoader::staticPlugins()) {
        const QJsonObject metaData = plugin.metaData().value("MetaData").toObject();
        if (metaData.value("Keys").toArray().contains(QJsonValue("pcx")))
            return qobject_cast<QImageIOPlugin *>(plugin.instance());
    }
    return nullptr;
}

// A 24-bit picture of 15-byte scan lines whose first runs, 20 bytes each, reach across planes
// and lines when it is encoded as one stream.
PcxFile crossingRunsFile()
{
    PcxFile file{.width = 5, .height = 3, .bytesPerLine = 5, .runsCrossLines = true};
    file.scanLines =
        QByteArray(20, char(0x22)) + QByteArray(20, char(0x99)) + bytesOf({1, 2, 3, 4, 5});
    return file;
}

}  // namespace

Q_DECLARE_METATYPE(PcxFile)

class PcxReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void registeredByLinking();
    void decodes_data();
    void decodes();
    void findsTrailingPaletteOnAnyDevice_data();
    void findsTrailingPaletteOnAnyDevice();
    void runsCrossingLinesDecodeLikeRunsPerLine();
    void runSpillingPastLastRowIsIgnored();
    void decidesFromContentWhateverTheName_data();
    void decidesFromContentWhateverTheName();
    void refusesMalformed_data();
    void refusesMalformed();
    void refusesEveryTruncation_data();
    void refusesEveryTruncation();
    void refusesHugePictureWithoutAllocating();
    void honoursAllocationLimit();
    void recognisesOnlyPcx_data();
    void recognisesOnlyPcx();

private:
    static void addRawAndRle(const char *name, PcxFile file, const QList<QRgb> &expected);
};

void PcxReaderTest::registeredByLinking()
{
    QVERIFY(QImageReader::supportedImageFormats().contains("pcx"));
    QVERIFY(QImageReader::supportedMimeTypes().contains("image/vnd.zbrush.pcx"));
    QVERIFY(pcxPlugin());
}

void PcxReaderTest::addRawAndRle(const char *name, PcxFile file, const QList<QRgb> &expected)
{
    file.rle = false;
    QTest::addRow("%s, raw", name) << file << expected;
    file.rle = true;
    QTest::addRow("%s, RLE", name) << file << expected;
}

void PcxReaderTest::decodes_data()
{
    QTest::addColumn<PcxFile>("file");
    QTest::addColumn<QList<QRgb>>("expected");
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);

    addRawAndRle("1 bit x 1 plane is black and white, leftmost pixel in the high bit",
                 {.bitsPerPixel = 1,
                  .planes = 1,
                  .width = 10,
                  .bytesPerLine = 2,
                  .scanLines = bytesOf({0xa0, 0x40})},
                 {white, black, white, black, black, black, black, black, black, white});
    addRawAndRle("1 bit x 2 planes index the first four header colours",
                 {.bitsPerPixel = 1,
                  .planes = 2,
                  .width = 3,
                  .bytesPerLine = 1,
                  .scanLines = bytesOf({0xa0, 0x60})},
                 {PcxFile::headerColour(1), PcxFile::headerColour(2), PcxFile::headerColour(3)});
    addRawAndRle("1 bit x 3 planes, plane 0 is the low bit",
                 {.bitsPerPixel = 1,
                  .planes = 3,
                  .width = 2,
                  .bytesPerLine = 1,
                  .scanLines = bytesOf({0x40, 0x80, 0xc0})},
                 {PcxFile::headerColour(6), PcxFile::headerColour(5)});
    addRawAndRle("1 bit x 4 planes over two rows with odd bytes per line",
                 {.bitsPerPixel = 1,
                  .planes = 4,
                  .width = 2,
                  .height = 2,
                  .bytesPerLine = 1,
                  .scanLines = bytesOf({0x80, 0x40, 0xc0, 0x00, 0x00, 0x00, 0x00, 0xc0})},
                 {PcxFile::headerColour(5), PcxFile::headerColour(6), PcxFile::headerColour(8),
                  PcxFile::headerColour(8)});
    addRawAndRle("version 3 carries no palette and uses the standard 16 colours",
                 {.version = 3,
                  .bitsPerPixel = 1,
                  .planes = 4,
                  .width = 2,
                  .bytesPerLine = 1,
                  .scanLines = bytesOf({0xc0, 0x40, 0xc0, 0x00})},
                 {qRgb(0xaa, 0x00, 0xaa), qRgb(0xaa, 0xaa, 0xaa)});
    addRawAndRle("2 bits index the first four header colours, padding bits ignored",
                 {.bitsPerPixel = 2,
                  .planes = 1,
                  .width = 5,
                  .bytesPerLine = 2,
                  .scanLines = bytesOf({0x1b, 0xbf})},
                 {PcxFile::headerColour(0), PcxFile::headerColour(1), PcxFile::headerColour(2),
                  PcxFile::headerColour(3), PcxFile::headerColour(2)});
    addRawAndRle("4 bits index the header colours, high nibble first",
                 {.bitsPerPixel = 4,
                  .planes = 1,
                  .width = 3,
                  .bytesPerLine = 2,
                  .scanLines = bytesOf({0x5f, 0xa0})},
                 {PcxFile::headerColour(5), PcxFile::headerColour(15), PcxFile::headerColour(10)});
    addRawAndRle("8 bits index the palette after the pixel data, padding byte ignored",
                 {.bitsPerPixel = 8,
                  .planes = 1,
                  .width = 3,
                  .height = 2,
                  .bytesPerLine = 4,
                  .scanLines = bytesOf({0x00, 0x7f, 0xff, 0x55, 0x0c, 0xc0, 0xc1, 0x00}),
                  .trailer = pcxPaletteTrailer()},
                 {PcxFile::trailerColour(0x00), PcxFile::trailerColour(0x7f),
                  PcxFile::trailerColour(0xff), PcxFile::trailerColour(0x0c),
                  PcxFile::trailerColour(0xc0), PcxFile::trailerColour(0xc1)});
    addRawAndRle("8 bits x 3 planes are red, green and blue",
                 {.bitsPerPixel = 8,
                  .planes = 3,
                  .width = 3,
                  .bytesPerLine = 3,
                  .scanLines = bytesOf({10, 20, 30, 40, 50, 60, 70, 80, 90})},
                 {qRgb(10, 40, 70), qRgb(20, 50, 80), qRgb(30, 60, 90)});
    addRawAndRle("8 bits x 4 planes carry alpha in the fourth",
                 {.bitsPerPixel = 8,
                  .planes = 4,
                  .width = 2,
                  .bytesPerLine = 2,
                  .scanLines = bytesOf({255, 0, 0, 255, 0, 0, 128, 255})},
                 {qRgba(255, 0, 0, 128), qRgba(0, 255, 0, 255)});
}

void PcxReaderTest::decodes()
{
    QFETCH(PcxFile, file);
    QFETCH(QList<QRgb>, expected);
    QBuffer buffer;
    buffer.setData(file.bytes());
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);

    QCOMPARE(reader.format(), QByteArray("pcx"));
    QCOMPARE(reader.size(), QSize(file.width, file.height));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.format(), file.planes == 4 && file.bitsPerPixel == 8 ? QImage::Format_ARGB32
                                                                        : QImage::Format_RGB32);
    QCOMPARE(pixelsOf(image), expected);
}

void PcxReaderTest::findsTrailingPaletteOnAnyDevice_data()
{
    QTest::addColumn<bool>("rle");
    QTest::addColumn<bool>("sequential");
    QTest::addColumn<int>("gapBeforePalette");
    QTest::newRow("raw, seekable, palette right after the pixels") << false << false << 0;
    QTest::newRow("raw, seekable, bytes between pixels and palette") << false << false << 5000;
    QTest::newRow("raw, sequential, bytes between pixels and palette") << false << true << 5000;
    QTest::newRow("RLE, seekable, pixel read reaches into the palette") << true << false << 0;
    QTest::newRow("RLE, sequential, pixel read reaches into the palette") << true << true << 0;
    QTest::newRow("RLE, sequential, bytes between pixels and palette") << true << true << 3000000;
}

void PcxReaderTest::findsTrailingPaletteOnAnyDevice()
{
    QFETCH(bool, rle);
    QFETCH(bool, sequential);
    QFETCH(int, gapBeforePalette);
    const PcxFile file{.rle = rle,
                       .planes = 1,
                       .width = 3,
                       .height = 2,
                       .bytesPerLine = 4,
                       .scanLines = bytesOf({0x01, 0x02, 0x03, 0x00, 0xfd, 0xfe, 0xff, 0x00}),
                       .trailer = QByteArray(gapBeforePalette, char(0x0c)) + pcxPaletteTrailer()};
    QBuffer seekable;
    seekable.setData(file.bytes());
    seekable.open(QIODevice::ReadOnly);
    Pipe pipe(file.bytes());
    QImageReader reader(sequential ? static_cast<QIODevice *>(&pipe) : &seekable, "pcx");

    const QImage image = reader.read();
    QCOMPARE(pixelsOf(image),
             QList<QRgb>({PcxFile::trailerColour(0x01), PcxFile::trailerColour(0x02),
                          PcxFile::trailerColour(0x03), PcxFile::trailerColour(0xfd),
                          PcxFile::trailerColour(0xfe), PcxFile::trailerColour(0xff)}));
}

void PcxReaderTest::runsCrossingLinesDecodeLikeRunsPerLine()
{
    PcxFile crossing = crossingRunsFile();
    PcxFile raw = crossing;
    raw.rle = false;

    const QImage image = readFromContent(crossing.bytes());
    QVERIFY(!image.isNull());
    QCOMPARE(image, readFromContent(raw.bytes()));
}

void PcxReaderTest::runSpillingPastLastRowIsIgnored()
{
    // Seven bytes of 0x40 where two pixels in three planes need six.
    const PcxFile file{.width = 2, .bytesPerLine = 2, .storedPixels = bytesOf({0xc7, 0x40})};

    const QImage image = readFromContent(file.bytes());
    QCOMPARE(pixelsOf(image), QList<QRgb>(2, qRgb(0x40, 0x40, 0x40)));
}

void PcxReaderTest::decidesFromContentWhateverTheName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("contentDecides");
    QTest::newRow("misleading .bmp name when content decides") << "picture.bmp" << true;
    QTest::newRow("no extension") << "picture" << false;
    QTest::newRow("upper-case extension") << "PICTURE.PCX" << false;
}

void PcxReaderTest::decidesFromContentWhateverTheName()
{
    QFETCH(QString, name);
    QFETCH(bool, contentDecides);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const PcxFile file = crossingRunsFile();
    QFile out(dir.filePath(name));
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(file.bytes());
    out.close();

    QImageReader reader(out.fileName());
    reader.setDecideFormatFromContent(contentDecides);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), QSize(file.width, file.height));
}

void PcxReaderTest::refusesMalformed_data()
{
    QTest::addColumn<QByteArray>("file");
    const PcxFile rgb{
        .width = 2, .height = 2, .bytesPerLine = 2, .scanLines = QByteArray(12, char(0x30))};
    const PcxFile indexed{.planes = 1,
                          .width = 2,
                          .height = 2,
                          .bytesPerLine = 2,
                          .scanLines = QByteArray(4, char(0x30)),
                          .trailer = pcxPaletteTrailer()};

    PcxFile zeroWidth = rgb;
    zeroWidth.width = 0;
    QTest::newRow("last column before the first") << zeroWidth.bytes();
    PcxFile zeroHeight = rgb;
    zeroHeight.height = 0;
    QTest::newRow("last row above the first") << zeroHeight.bytes();
    PcxFile narrowLines = rgb;
    narrowLines.width = 3;
    QTest::newRow("bytes per line fewer than the width") << narrowLines.bytes();
    PcxFile narrowBits{.bitsPerPixel = 1,
                       .planes = 1,
                       .width = 17,
                       .bytesPerLine = 2,
                       .scanLines = QByteArray(2, '\0')};
    QTest::newRow("1-bit line one bit short of the width") << narrowBits.bytes();
    PcxFile noLineBytes = rgb;
    noLineBytes.bytesPerLine = 0;
    noLineBytes.scanLines.clear();
    QTest::newRow("zero bytes per line") << noLineBytes.bytes();

    PcxFile noMarker = indexed;
    noMarker.trailer = pcxPaletteTrailer(PcxFile::trailerColour, 0x00);
    QTest::newRow("256 colours without the palette marker") << noMarker.bytes();
    PcxFile noPalette = indexed;
    noPalette.trailer.clear();
    QTest::newRow("256 colours without a palette") << noPalette.bytes();

    QTest::newRow("RLE run count without its byte") << rgb.bytes().chopped(1);
    QTest::newRow("RLE stream ends a row early") << rgb.bytes().chopped(2);
    PcxFile raw = rgb;
    raw.rle = false;
    QTest::newRow("raw data ends a row early") << raw.bytes().chopped(1);
}

void PcxReaderTest::refusesMalformed()
{
    QFETCH(QByteArray, file);
    QVERIFY(readAsPcx(file).isNull());
    QVERIFY(readFromContent(file).isNull());
}

void PcxReaderTest::refusesEveryTruncation_data()
{
    QTest::addColumn<QByteArray>("file");
    PcxFile indexed{.planes = 1,
                    .width = 7,
                    .height = 3,
                    .bytesPerLine = 8,
                    .scanLines = QByteArray(8, char(0x11)) + bytesOf({1, 2, 3, 4, 5, 6, 7, 8}) +
                                 QByteArray(8, char(0xf0)),
                    .trailer = pcxPaletteTrailer()};
    QTest::newRow("256 colours, RLE") << indexed.bytes();
    QTest::newRow("true colour, runs across lines") << crossingRunsFile().bytes();
    PcxFile planar{.rle = false,
                   .bitsPerPixel = 1,
                   .planes = 4,
                   .width = 9,
                   .height = 2,
                   .bytesPerLine = 2,
                   .scanLines = QByteArray(16, char(0x5a))};
    QTest::newRow("16 colours in planes, raw") << planar.bytes();
}

void PcxReaderTest::refusesEveryTruncation()
{
    QFETCH(QByteArray, file);
    QVERIFY(!readAsPcx(file).isNull());
    for (qsizetype length = 0; length < file.size(); ++length)
        QVERIFY2(readAsPcx(file.first(length)).isNull(), qPrintable(QString::number(length)));
}

void PcxReaderTest::refusesHugePictureWithoutAllocating()
{
    const PcxFile huge{.width = 65535,
                       .height = 65535,
                       .bytesPerLine = 65535,
                       .scanLines = QByteArray(200, char(0xff)),
                       .origin = {0, 0}};
    QBuffer buffer;
    buffer.setData(huge.bytes());
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);

    QCOMPARE(reader.size(), QSize(65535, 65535));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("exceeds the current allocation limit"));
    QVERIFY(reader.read().isNull());
}

void PcxReaderTest::honoursAllocationLimit()
{
    PcxFile file{.width = 600, .height = 600, .bytesPerLine = 600};
    file.scanLines = QByteArray(3 * 600 * 600, char(0x42));
    const QByteArray stored = file.bytes();
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);  // megabytes; the picture needs 1.4

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("exceeds the current allocation limit"));
    const QImage refused = readFromContent(stored);
    QImageReader::setAllocationLimit(limit);
    QVERIFY(refused.isNull());
    QCOMPARE(readFromContent(stored).size(), QSize(600, 600));
}

void PcxReaderTest::recognisesOnlyPcx_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("pcx");

    const QByteArray valid = crossingRunsFile().bytes();
    QTest::newRow("a PCX file") << valid << true;
    const auto patched = [&valid](int offset, int value) {
        QByteArray file = valid;
        file[offset] = char(value);
        return file;
    };
    QTest::newRow("maker byte other than 0x0A") << patched(0, 0x0b) << false;
    QTest::newRow("version 1 was never written") << patched(1, 1) << false;
    QTest::newRow("version 6 is unknown") << patched(1, 6) << false;
    QTest::newRow("encoding 2 is unknown") << patched(2, 2) << false;
    QTest::newRow("8 bits in 2 planes") << patched(65, 2) << false;
    QTest::newRow("3 bits per pixel") << patched(3, 3) << false;
    QTest::newRow("4 bits in 3 planes") << patched(3, 4) << false;  // the file has 3 planes
    QTest::newRow("header cut short") << valid.first(127) << false;
    QTest::newRow("empty") << QByteArray() << false;

    QTest::newRow("a BMP picture") << encoded(patternPicture({4, 4}), "bmp") << false;

    QByteArray noise(512, '\0');
    QRandomGenerator random(20240611);
    random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    QTest::newRow("random bytes") << noise << false;
}

void PcxReaderTest::recognisesOnlyPcx()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, pcx);
    QImageIOPlugin *plugin = pcxPlugin();
    QVERIFY(plugin);
    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));

    QCOMPARE(plugin->capabilities(&buffer, QByteArray()).testFlag(QImageIOPlugin::CanRead), pcx);
    QCOMPARE(buffer.pos(), qint64(0));  // peeked, not read
    QCOMPARE(QImageReader::imageFormat(&buffer) == "pcx", pcx);
}

QTEST_GUILESS_MAIN(PcxReaderTest)
#include "test_pcx_reader.moc"
