// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/picture_loader.h"

#include "tests/support/odd_file_types.h"
#include "testsupport/picture_files.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;
using namespace vantok;
using namespace vantok::test;

namespace
{

// Compared as the picture box shows them: 32-bit, opaque pixels as stored.
QImage asShown(const QImage &picture)
{
    return picture.convertToFormat(QImage::Format_ARGB32);
}

QImage indexedPattern(QSize size)
{
    QImage indexed(size, QImage::Format_Indexed8);
    indexed.setColorCount(7);
    for (int i = 0; i < 7; ++i)
        indexed.setColor(i, qRgb(30 * i, 255 - 20 * i, (90 * i) & 0xff));
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            indexed.setPixel(x, y, (x + 2 * y) % 7);
    return indexed;
}

QByteArray progressiveJpeg(const QImage &picture)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.setQuality(95);
    return writer.write(picture) ? buffer.data() : QByteArray();
}

}  // namespace

class PictureLoaderTest : public QObject
{
    Q_OBJECT

private:
    QString fixture(const QString &name, const QByteArray &bytes);

    QTemporaryDir m_dir;

private slots:
    void initTestCase();
    void readsByContent_data();
    void readsByContent();
    void sixteenBitPngWithTransparentColour_data();
    void sixteenBitPngWithTransparentColour();
    void iconGivesLargestImage_data();
    void iconGivesLargestImage();
    void readsFromDevicePosition();
    void refusesWithReason_data();
    void refusesWithReason();
    void neverOpensWhatIsNoFile_data();
    void neverOpensWhatIsNoFile();
    void refusesOverLimitBeforeDecoding();
    void sizeLimit_data();
    void sizeLimit();
};

QString PictureLoaderTest::fixture(const QString &name, const QByteArray &bytes)
{
    const QString fileName = m_dir.filePath(name);
    if (!writeFile(fileName, bytes))
        qFatal("cannot write %s", qPrintable(fileName));
    return fileName;
}

void PictureLoaderTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    applyPictureSizeLimit();
}

void PictureLoaderTest::readsByContent_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QImage>("expected");

    const QImage picture = patternPicture({37, 23});
    const QImage indexed = indexedPattern({13, 9});
    QImage translucent = patternPicture({11, 7}).convertToFormat(QImage::Format_ARGB32);
    translucent.setPixel(3, 4, qRgba(10, 20, 30, 40));

    QTest::newRow("24-bit BMP named as PNG")
        << fixture(u"bmp-as.png"_s, encoded(picture, "bmp")) << picture;
    QTest::newRow("8-bit BMP keeps its palette colours")
        << fixture(u"indexed.bmp"_s, encoded(indexed, "bmp")) << indexed;
    QTest::newRow("BMP with no extension")
        << fixture(u"bitmap"_s, encoded(picture, "bmp")) << picture;
    QTest::newRow("PNG named as BMP keeps its alpha")
        << fixture(u"png-as.bmp"_s, encoded(translucent, "png")) << translucent;
    QTest::newRow("ICO named as BMP")
        << fixture(u"ico-as.bmp"_s, encoded(picture, "ico")) << picture;
    QTest::newRow("GIF named as ICO") << fixture(u"gif-as.ico"_s, gifFile(indexed)) << indexed;
#ifndef Q_OS_WIN  // the Windows build has Qt's base formats only
    QTest::newRow("TIFF named as BMP, through the installed plugins")
        << fixture(u"tiff-as.bmp"_s, encoded(picture, "tiff")) << picture;
#endif
    QTest::newRow("24-bit PCX through the linked plugin")
        << fixture(u"pcx-as.bmp"_s, pcxFile(picture)) << picture;
    BmpFile white16;
    white16.bitsPerPixel = 16;
    white16.pixels = bmpRows({{0x7fff}}, 16);
    QImage white(1, 1, QImage::Format_RGB32);
    white.fill(Qt::white);
    QTest::newRow("16-bit BMP white is 255 through the linked reader")
        << fixture(u"white16.bmp"_s, white16.bytes()) << white;
    // Whole files with more after their end, as some writers leave.
    const QByteArray jpeg = encoded(picture, "jpeg");
    QTest::newRow("JPEG with bytes after its end marker")
        << fixture(u"trailing.jpg"_s, jpeg + QByteArray(100, '\xff') + "more")
        << readFromContent(jpeg);
    QTest::newRow("PNG with bytes after its end chunk")
        << fixture(u"trailing.png"_s, encoded(picture, "png") + "more") << picture;
    QTest::newRow("GIF with bytes after its trailer")
        << fixture(u"trailing.gif"_s, gifFile(indexed) + "more") << indexed;
}

void PictureLoaderTest::readsByContent()
{
    QFETCH(QString, fileName);
    QFETCH(QImage, expected);
    const QImage loaded = loadPicture(fileName);
    QVERIFY(!loaded.isNull());
    QCOMPARE(asShown(loaded), asShown(expected));
}

void PictureLoaderTest::sixteenBitPngWithTransparentColour_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QImage>("expected");

    // The key, one colour differing from it in a low byte only, and two others.
    const QRgba64 key = QRgba64::fromRgba64(0x1234, 0x5678, 0x9abc, 0xffff);
    const QRgba64 nearKey = QRgba64::fromRgba64(0x1234, 0x5678, 0x9abd, 0xffff);
    const QList<QRgba64> colours{key, nearKey, QRgba64::fromRgba64(0xffff, 0, 0x0001, 0xffff),
                                 QRgba64::fromRgba64(0, 0x8000, 0xfffe, 0xffff)};
    QImage stored(11, 9, QImage::Format_RGBX64);  // odd sides leave Adam7's passes uneven
    QImage keyed(stored.size(), QImage::Format_RGBA64);
    for (int y = 0; y < stored.height(); ++y) {
        for (int x = 0; x < stored.width(); ++x) {
            const QRgba64 colour = colours[(x + 2 * y) % colours.size()];
            stored.setPixelColor(x, y, QColor::fromRgba64(colour));
            QRgba64 shown = colour;
            if (colour == key)
                shown.setAlpha(0);
            keyed.setPixelColor(x, y, QColor::fromRgba64(shown));
        }
    }
    const QByteArray plain = sixteenBitPngFile(stored, false, key);
    // Behind a 70 kB text chunk, past what is looked through before reading.
    const QByteArray text =
        pngChunk("tEXt", "Comment" + QByteArray(1, '\0') + QByteArray(70000, 'x'));
    const QByteArray late = plain.left(33) + text + plain.mid(33);
    QByteArray badCrc = plain;
    badCrc[badCrc.indexOf("tRNS") + 4 + 6] ^= 1;

    QTest::newRow("the key transparent, the rest as stored")
        << fixture(u"keyed.png"_s, plain) << keyed;
    QTest::newRow("interlaced alike")
        << fixture(u"keyed-interlaced.png"_s, sixteenBitPngFile(stored, true, key)) << keyed;
    QTest::newRow("the key behind a long chunk") << fixture(u"keyed-late.png"_s, late) << keyed;
    QTest::newRow("a key with a wrong CRC is ignored, all opaque")
        << fixture(u"keyed-bad-crc.png"_s, badCrc) << stored;
    QTest::newRow("no key: all opaque, as stored")
        << fixture(u"unkeyed.png"_s, sixteenBitPngFile(stored, true, std::nullopt)) << stored;
}

// Compared at 16 bits, premultiplied so that every transparent pixel looks alike.
void PictureLoaderTest::sixteenBitPngWithTransparentColour()
{
    QFETCH(QString, fileName);
    QFETCH(QImage, expected);
    const QImage loaded = loadPicture(fileName);
    QVERIFY(!loaded.isNull());
    QCOMPARE(loaded.convertToFormat(QImage::Format_RGBA64_Premultiplied),
             expected.convertToFormat(QImage::Format_RGBA64_Premultiplied));
}

void PictureLoaderTest::iconGivesLargestImage_data()
{
    QTest::addColumn<QByteArray>("icon");
    QTest::addColumn<QImage>("expected");

    const QImage small = patternPicture({16, 16}, 1);
    const QImage large = patternPicture({48, 40}, 2);
    const QImage largeAlike = patternPicture({40, 48}, 3);
    QTest::newRow("largest listed last") << iconFile({small, large}) << large;
    QTest::newRow("largest listed first") << iconFile({large, small}) << large;
    QTest::newRow("largest between smaller ones") << iconFile({small, large, small}) << large;
    QTest::newRow("equal areas: the first listed")
        << iconFile({small, largeAlike, large}) << largeAlike;
}

void PictureLoaderTest::iconGivesLargestImage()
{
    QFETCH(QByteArray, icon);
    QFETCH(QImage, expected);
    QBuffer buffer(&icon);
    buffer.open(QIODevice::ReadOnly);
    QCOMPARE(asShown(loadPicture(buffer)), asShown(expected));
}

// The decoder sees the device from where it stands, so a picture inside a larger stream reads.
void PictureLoaderTest::readsFromDevicePosition()
{
    const QImage picture = patternPicture({9, 5});
    QByteArray bytes = "prefix" + encoded(picture, "bmp");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(6);
    QCOMPARE(asShown(loadPicture(buffer)), asShown(picture));
}

void PictureLoaderTest::refusesWithReason_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<QString>("reason");

    const QImage picture = patternPicture({37, 23});
    const QByteArray bmp = encoded(picture, "bmp");  // 54 header bytes, rows of 112
    const QByteArray png = encoded(picture, "png");
    const QByteArray gif = gifFile(indexedPattern({37, 23}));
    const QByteArray jpeg = progressiveJpeg(patternPicture({680, 505}));
    QVERIFY(jpeg.size() > 200000);
    QByteArray random(4096, '\0');
    QRandomGenerator(20240611).fillRange(reinterpret_cast<quint32 *>(random.data()), 1024);
    QByteArray iconPastEnd = encoded(patternPicture({16, 16}), "ico");
    qToLittleEndian<quint32>(quint32(iconPastEnd.size() + 100), iconPastEnd.data() + 6 + 12);
    QVERIFY(QDir(m_dir.path()).mkdir(u"folder.bmp"_s));

    const QString noFile = u"there is no such file"_s;
    const QString cut = u"the file is cut short"_s;
    const QString noPicture = u"it is not a picture Vantok reads"_s;
    QTest::newRow("missing file") << m_dir.filePath(u"missing.bmp"_s) << Refusal::NoSuchFile
                                  << noFile;
    QTest::newRow("in a missing folder")
        << m_dir.filePath(u"missing/a.bmp"_s) << Refusal::NoSuchFile << noFile;
    QTest::newRow("folder named like a bitmap")
        << m_dir.filePath(u"folder.bmp"_s) << Refusal::Folder << u"it is a folder"_s;
#ifdef Q_OS_UNIX  // Windows keeps no read permission of this kind
    const QString unreadable = fixture(u"unreadable.bmp"_s, bmp);
    QVERIFY(QFile::setPermissions(unreadable, QFileDevice::WriteOwner));
    QTest::newRow("file without read permission")
        << unreadable << Refusal::NotReadable << u"the file is not readable"_s;
#endif
    QTest::newRow("empty file") << fixture(u"empty.bmp"_s, {}) << Refusal::NotAPicture << noPicture;
    QTest::newRow("random bytes") << fixture(u"random.bmp"_s, random) << Refusal::NotAPicture
                                  << noPicture;
    QTest::newRow("PNG cut in its signature is no picture at all")
        << fixture(u"cut4.png"_s, png.left(4)) << Refusal::NotAPicture << noPicture;
    QTest::newRow("BMP claiming 60000 x 60000")
        << fixture(u"huge.bmp"_s,
                   BmpFile{.width = 60000, .height = 60000, .pixels = QByteArray(64, '\0')}.bytes())
        << Refusal::TooLarge
        << u"the picture is 60000 × 60000, more than the 512 MiB of pixels Vantok holds"_s;
    QTest::newRow("progressive JPEG, its first 20000 bytes")
        << fixture(u"cut.jpg"_s, jpeg.left(20000)) << Refusal::CutShort << cut;
    QTest::newRow("JPEG without its end marker")
        << fixture(u"noend.jpg"_s, jpeg.chopped(2)) << Refusal::CutShort << cut;
    QTest::newRow("GIF cut in its image data")
        << fixture(u"half.gif"_s, gif.left(gif.size() / 2)) << Refusal::CutShort << cut;
    QTest::newRow("GIF without its trailer")
        << fixture(u"notrailer.gif"_s, gif.chopped(1)) << Refusal::CutShort << cut;
    QTest::newRow("BMP cut in its file header")
        << fixture(u"cut10.bmp"_s, bmp.left(10)) << Refusal::CutShort << cut;
    QTest::newRow("BMP cut in its info header")
        << fixture(u"cut30.bmp"_s, bmp.left(30)) << Refusal::CutShort << cut;
    QTest::newRow("BMP cut before its pixels")
        << fixture(u"cut54.bmp"_s, bmp.left(54)) << Refusal::CutShort << cut;
    QTest::newRow("BMP one byte short")
        << fixture(u"cut-1.bmp"_s, bmp.chopped(1)) << Refusal::CutShort << cut;
    QTest::newRow("PNG cut in its header chunk")
        << fixture(u"cut20.png"_s, png.left(20)) << Refusal::CutShort << cut;
    QTest::newRow("PNG cut in its pixel data")
        << fixture(u"half.png"_s, png.left(png.size() / 2)) << Refusal::CutShort << cut;
    QTest::newRow("PNG without its end chunk's checksum")
        << fixture(u"nocrc.png"_s, png.chopped(4)) << Refusal::CutShort << cut;
    QTest::newRow("PNG of 16-bit samples with a transparent colour, cut")
        << fixture(u"keyed-cut.png"_s,
                   sixteenBitPngFile(picture.convertToFormat(QImage::Format_RGBX64), false,
                                     QRgba64::fromRgba64(1, 2, 3, 0xffff))
                       .chopped(12))
        << Refusal::CutShort << cut;
    QTest::newRow("PCX cut in its pixel data")
        << fixture(u"cut.pcx"_s, pcxFile(picture).chopped(300)) << Refusal::CutShort << cut;
    QTest::newRow("ICO whose directory points past the end")
        << fixture(u"pastend.ico"_s, iconPastEnd) << Refusal::CutShort << cut;
}

void PictureLoaderTest::refusesWithReason()
{
    QFETCH(QString, fileName);
    QFETCH(Refusal, refusal);
    QFETCH(QString, reason);
#ifdef Q_OS_UNIX
    if (refusal == Refusal::NotReadable && ::geteuid() == 0)
        QSKIP("root reads any file");
#endif
    const PictureLoad load = tryLoadPicture(fileName);
    QCOMPARE(load.refusal, refusal);
    QCOMPARE(load.reason(), reason);
    QVERIFY(load.picture.isNull());
}

// A FIFO would keep the load waiting for a writer for ever, whatever it is called; a device may
// act on being opened. Neither is opened, directly or through a link.
void PictureLoaderTest::neverOpensWhatIsNoFile_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("fifo");  // the FIFO behind the name, if any
#ifdef Q_OS_UNIX
    const QDir dir(m_dir.path());
    const QString fifo = dir.filePath(u"fifo.bmp"_s);
    QVERIFY(makeFifo(fifo));
    QVERIFY(makeSocket(dir.filePath(u"socket.bmp"_s)));
    QVERIFY(QFile::link(fifo, dir.filePath(u"fifo-link.bmp"_s)));
    QVERIFY(QFile::link(u"/dev/zero"_s, dir.filePath(u"zero.bmp"_s)));
    QTest::newRow("FIFO named like a bitmap") << fifo << fifo;
    QTest::newRow("link to a FIFO") << dir.filePath(u"fifo-link.bmp"_s) << fifo;
    QTest::newRow("socket named like a bitmap") << dir.filePath(u"socket.bmp"_s) << QString();
    QTest::newRow("link to a device") << dir.filePath(u"zero.bmp"_s) << QString();
#else
    QSKIP("FIFOs, sockets and devices in folders are Unix's");
#endif
}

void PictureLoaderTest::neverOpensWhatIsNoFile()
{
#ifdef Q_OS_UNIX
    QFETCH(QString, fileName);
    QFETCH(QString, fifo);
    std::optional<FifoRescue> rescue;
    if (!fifo.isEmpty())
        rescue.emplace(fifo, std::chrono::seconds(5));
#ifdef Q_OS_LINUX
    const OpenWatch watch(fifo.isEmpty() ? m_dir.path() : fifo);
    QVERIFY(watch.isWatching());
#endif
    QVERIFY(loadPicture(fileName).isNull());
    QVERIFY2(!rescue || !rescue->finish(), "the load waited for a writer");
#ifdef Q_OS_LINUX
    QVERIFY2(fifo.isEmpty() || !watch.sawOpen(), "the FIFO was opened");
#endif
#endif
}

// The size is checked before the decoder runs, whatever limit the decoder keeps itself.
void PictureLoaderTest::refusesOverLimitBeforeDecoding()
{
    QImage blank(16384, 8193, QImage::Format_Mono);  // 17 MB as decoded, over 512 MiB as shown
    blank.fill(0);
    QByteArray png = encoded(blank, "png");
    QBuffer buffer(&png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader::setAllocationLimit(0);
    const QImage loaded = loadPicture(buffer);
    applyPictureSizeLimit();
    QVERIFY(loaded.isNull());
}

void PictureLoaderTest::sizeLimit_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("fits");

    QTest::newRow("100 megapixels fit") << QSize(10000, 10000) << true;
    QTest::newRow("exactly 512 MiB of pixels fit") << QSize(16384, 8192) << true;
    QTest::newRow("one row more does not") << QSize(16384, 8193) << false;
    QTest::newRow("sides whose product overflows int") << QSize(65536, 65536) << false;
    QTest::newRow("an unknown size is left to the decoder") << QSize() << true;
}

void PictureLoaderTest::sizeLimit()
{
    QFETCH(QSize, size);
    QFETCH(bool, fits);
    QCOMPARE(fitsPictureSizeLimit(size), fits);
}

QTEST_GUILESS_MAIN(PictureLoaderTest)
#include "test_picture_loader.moc"
