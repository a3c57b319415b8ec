// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a folder of damaged picture files, with good pictures of known colours between them, for
// a walk through the real chooser. Names start with a running number, so the chooser lists them
// in the order written. Prints one line per listed file: its name and what the main window shows
// after loading it:
//   shows R,G,B R,G,B  a picture whose left half has the first colour and right half the second
//   keeps              the file does not load; the last good picture stays
//   either             a damaged file that its decoder may show or refuse
//   vanishes           the walk deletes this file after listing and before selecting it
//   becomes-fifo       the walk puts a FIFO in this file's place after listing and before
//                      selecting it; the file does not load, nor does the FIFO block the program
// Usage: make_broken_pictures <folder>

#include "tests/support/odd_file_types.h"
#include "testsupport/picture_files.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <QtEndian>

#include <array>
#include <cstdio>
#include <tuple>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;
using namespace vantok::test;

namespace
{

// Every good picture has this size; the walk picks at points inside it.
constexpr QSize PictureSize(40, 30);

QImage halves(QColor left, QColor right)
{
    QImage picture(PictureSize, QImage::Format_RGB32);
    picture.fill(left);
    for (int y = 0; y < PictureSize.height(); ++y)
        for (int x = PictureSize.width() / 2; x < PictureSize.width(); ++x)
            picture.setPixel(x, y, right.rgb());
    return picture;
}

QString rgbText(QColor colour)
{
    return u"%1,%2,%3"_s.arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

void putLe16(QByteArray &bytes, qsizetype at, quint16 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

void putLe32(QByteArray &bytes, qsizetype at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

quint32 crc32(QByteArrayView bytes)
{
    quint32 crc = 0xffffffff;
    for (const char byte : bytes) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

// A PNG whose header chunk claims another size, its checksum made right so the decoder believes
// the sizes and refuses them for what they say.
QByteArray pngClaiming(QByteArray png, quint32 width, quint32 height)
{
    constexpr qsizetype HeaderChunk = 8;  // after the signature: length, "IHDR", 13 bytes, CRC
    qToBigEndian(width, png.data() + HeaderChunk + 8);
    qToBigEndian(height, png.data() + HeaderChunk + 12);
    qToBigEndian(crc32(QByteArrayView(png).sliced(HeaderChunk + 4, 4 + 13)),
                 png.data() + HeaderChunk + 8 + 13);
    return png;
}

// An icon file of one image stored as `image` (a PNG, in newer icons), listed as 40 x 30.
QByteArray iconHolding(const QByteArray &image)
{
    QByteArray icon(6 + 16, '\0');
    putLe16(icon, 2, 1);
    putLe16(icon, 4, 1);
    icon[6] = char(PictureSize.width());
    icon[7] = char(PictureSize.height());
    putLe16(icon, 6 + 4, 1);
    putLe16(icon, 6 + 6, 32);
    putLe32(icon, 6 + 8, quint32(image.size()));
    putLe32(icon, 6 + 12, quint32(icon.size()));
    return icon + image;
}

// An 8-bit BMP with a palette of `colours`, every row holding the same `rowIndices`.
QByteArray indexedBmp(const QList<QRgb> &colours, QByteArrayView rowIndices, int height)
{
    const QByteArray row = rowIndices.toByteArray() + QByteArray(-rowIndices.size() & 3, '\0');
    return BmpFile{.width = int(rowIndices.size()),
                   .height = height,
                   .bitsPerPixel = 8,
                   .palette = colours,
                   .pixels = row.repeated(height)}
        .bytes();
}

// A 256-colour PCX of `rows`, run-length encoded; `encodeRow` turns one row into stored bytes.
template<typename Encode>
QByteArray indexedPcx(QSize size, const std::array<QRgb, 256> &palette, Encode encodeRow)
{
    PcxFile file{.planes = 1,
                 .width = size.width(),
                 .height = size.height(),
                 .bytesPerLine = size.width(),
                 .origin = {}};
    for (int y = 0; y < size.height(); ++y)
        file.storedPixels += encodeRow(y);
    file.trailer = pcxPaletteTrailer([&palette](int index) { return palette[index]; });
    return file.bytes();
}

// Runs of one index: the left half index 1, the right half index 2.
QByteArray halvesRow(int width)
{
    const int half = width / 2;
    return QByteArray(1, char(0xc0 | half)) + char(1) + char(0xc0 | (width - half)) + char(2);
}

QImage indexedHalves(QColor left, QColor right)
{
    QImage picture(PictureSize, QImage::Format_Indexed8);
    picture.setColorTable({left.rgb(), right.rgb()});
    for (int y = 0; y < PictureSize.height(); ++y)
        for (int x = 0; x < PictureSize.width(); ++x)
            picture.setPixel(x, y, x < PictureSize.width() / 2 ? 0 : 1);
    return picture;
}

// Where a cut file is cut: through the headers byte by byte at first, then through the data.
QList<qsizetype> cutPoints(qsizetype size)
{
    QList<qsizetype> points{1, 2, 5, 10, 14, 18, 26, 33, 54, 70};
    for (const int part : {4, 3, 2})
        points.append(size / part);
    points.append({size * 3 / 4, size - 16, size - 2, size - 1});
    QList<qsizetype> usable;
    for (const qsizetype point : std::as_const(points))
        if (point > 0 && point < size && !usable.contains(point))
            usable.append(point);
    std::ranges::sort(usable);
    return usable;
}

class BrokenFolder
{
public:
    explicit BrokenFolder(const QString &path) : m_dir(path), m_out(stdout) {}

    // Returns the file's name in the folder.
    QString good(const QString &name, const QByteArray &bytes, QColor left, QColor right)
    {
        return add(name, bytes, shows(left, right));
    }
    // A link to a good picture in the folder is listed and loads as the picture.
    void goodLink(const QString &name, const QString &target, QColor left, QColor right)
    {
        const QString fileName = numbered(name);
        m_ok = QFile::link(target, m_dir.filePath(fileName)) && m_ok;
        m_out << fileName << u' ' << shows(left, right) << Qt::endl;
    }
    void bad(const QString &name, const QByteArray &bytes) { add(name, bytes, u"keeps"_s); }
    void either(const QString &name, const QByteArray &bytes) { add(name, bytes, u"either"_s); }
    void vanishing(const QString &name, const QByteArray &bytes)
    {
        add(name, bytes, u"vanishes"_s);
    }
    void becomingFifo(const QString &name, const QByteArray &bytes)
    {
        add(name, bytes, u"becomes-fifo"_s);
    }

    // Cuts at every cut point; none loads, wherever it is cut.
    void cuts(const QString &what, const QByteArray &whole)
    {
        for (const qsizetype point : cutPoints(whole.size()))
            bad(u"%1-cut-%2.%1"_s.arg(what).arg(point, 5, 10, QLatin1Char('0')), whole.left(point));
    }

    // Entries the chooser must not list at all: a folder, and what is neither file nor folder.
    bool unlisted()
    {
        const auto named = [&](const char *what) {
            return m_dir.filePath(
                u"%1-%2.bmp"_s.arg(m_next, 3, 10, QLatin1Char('0')).arg(QLatin1StringView(what)));
        };
        bool made = m_dir.mkpath(named("dir"));
#ifdef Q_OS_UNIX
        // Opening a named pipe would wait for a writer for ever.
        made = made && ::mkfifo(QFile::encodeName(named("fifo")).constData(), 0644) == 0;
        made = made && QFile::link(named("fifo"), named("fifo-link"));
        made = made && QFile::link(u"/dev/zero"_s, named("zero-link"));
        made = made && QFile::link(named("missing"), named("broken-link"));
        made = made && makeSocket(named("socket"));
#endif
        ++m_next;
        return made;
    }

    bool ok() const
    {
        return m_ok;
    }

private:
    QString add(const QString &name, const QByteArray &bytes, const QString &expected)
    {
        const QString fileName = numbered(name);
        m_ok = writeFile(m_dir.filePath(fileName), bytes) && m_ok;
        m_out << fileName << u' ' << expected << Qt::endl;
        return fileName;
    }
    QString numbered(const QString &name)
    {
        return u"%1-%2"_s.arg(m_next++, 3, 10, QLatin1Char('0')).arg(name);
    }
    static QString shows(QColor left, QColor right)
    {
        return u"shows "_s + rgbText(left) + u' ' + rgbText(right);
    }

    QDir m_dir;
    QTextStream m_out;
    int m_next = 0;
    bool m_ok = true;
};

// Distinct, saturated enough to tell apart, and never the grey of an empty picture box.
const std::array<QColor, 16> Colours{
    QColor(10, 120, 230), QColor(250, 5, 77),   QColor(33, 66, 99),   QColor(200, 180, 1),
    QColor(7, 200, 99),   QColor(52, 18, 5),    QColor(140, 20, 210), QColor(90, 250, 160),
    QColor(255, 128, 0),  QColor(0, 64, 32),    QColor(17, 17, 170),  QColor(230, 230, 40),
    QColor(120, 0, 60),   QColor(60, 190, 240), QColor(160, 110, 70), QColor(3, 150, 150),
};

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: make_broken_pictures <folder>\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder))
        return 1;
    BrokenFolder out(folder);
    int colour = 0;
    const auto goodPicture = [&](const QString &name, const char *format) {
        const QColor left = Colours[colour++ % Colours.size()];
        const QColor right = Colours[colour++ % Colours.size()];
        const QImage picture = halves(left, right);
        QByteArray bytes;
        if (qstrcmp(format, "pcx") == 0)
            bytes = pcxFile(picture);
        else if (qstrcmp(format, "gif") == 0)
            bytes = gifFile(indexedHalves(left, right));
        else
            bytes = encoded(picture, format);
        return std::tuple{out.good(name, bytes, left, right), left, right};
    };
    const QImage busy = patternPicture(PictureSize, 11);

    // Cut at many places; each group follows a good picture so a wrong load shows.
    goodPicture(u"good.bmp"_s, "bmp");
    out.cuts(u"bmp"_s, encoded(busy, "bmp"));
    goodPicture(u"good.png"_s, "png");
    const QByteArray png = encoded(busy, "png");
    out.cuts(u"png"_s, png);
    goodPicture(u"good.pcx"_s, "pcx");
    out.cuts(u"pcx"_s, pcxFile(busy));
    goodPicture(u"good.ico"_s, "ico");
    out.cuts(u"ico"_s, encoded(busy, "ico"));
    goodPicture(u"good.gif"_s, "gif");
    const QByteArray gif =
        gifFile(patternPicture(PictureSize, 5).convertToFormat(QImage::Format_Indexed8));
    out.cuts(u"gif"_s, gif);
    goodPicture(u"good-after-gif.bmp"_s, "bmp");
    const QByteArray jpeg = encoded(busy, "jpeg");
    out.cuts(u"jpg"_s, jpeg);
    goodPicture(u"good-after-jpeg.png"_s, "png");

    // Sizes in headers: zero, negative, and far over the size limit.
    const QByteArray bmp = encoded(busy, "bmp");
    const auto patched = [](QByteArray bytes, auto patch) {
        patch(bytes);
        return bytes;
    };
    out.bad(u"bmp-width-0.bmp"_s, patched(bmp, [](QByteArray &b) { putLe32(b, 18, 0); }));
    out.bad(u"bmp-height-0.bmp"_s, patched(bmp, [](QByteArray &b) { putLe32(b, 22, 0); }));
    out.bad(u"bmp-width-negative.bmp"_s, patched(bmp, [](QByteArray &b) { putLe32(b, 18, -40); }));
    out.bad(u"bmp-60000.bmp"_s, patched(bmp, [](QByteArray &b) {
                putLe32(b, 18, 60000);
                putLe32(b, 22, 60000);
            }));
    out.bad(u"bmp-60000-top-down.bmp"_s, patched(bmp, [](QByteArray &b) {
                putLe32(b, 18, 60000);
                putLe32(b, 22, quint32(-60000));
            }));
    out.bad(u"bmp-pixels-past-end.bmp"_s,
            patched(bmp, [](QByteArray &b) { putLe32(b, 10, 0x7ffffff0); }));

    const QByteArray pcx = pcxFile(busy);
    out.bad(u"pcx-width-0.pcx"_s, patched(pcx, [](QByteArray &b) {
                putLe16(b, 4, 10);
                putLe16(b, 8, 9);
            }));
    out.bad(u"pcx-width-negative.pcx"_s, patched(pcx, [](QByteArray &b) { putLe16(b, 4, 100); }));
    out.bad(u"pcx-line-bytes-0.pcx"_s, patched(pcx, [](QByteArray &b) { putLe16(b, 66, 0); }));
    out.bad(u"pcx-60000.pcx"_s, patched(pcx, [](QByteArray &b) {
                putLe16(b, 8, 59999);
                putLe16(b, 10, 59999);
                putLe16(b, 66, 60000);
            }));
    out.bad(u"pcx-65536-wide-1-high.pcx"_s, patched(pcx, [](QByteArray &b) {
                putLe16(b, 8, 65535);
                putLe16(b, 10, 0);
                putLe16(b, 66, 65535);
            }));

    out.bad(u"png-width-0.png"_s, pngClaiming(png, 0, 30));
    out.bad(u"png-width-negative.png"_s, pngClaiming(png, 0x80000000u + 40, 30));
    out.bad(u"png-60000.png"_s, pngClaiming(png, 60000, 60000));
    out.bad(u"png-1-by-600000000.png"_s, pngClaiming(png, 1, 600000000));
    {
        // Honest and small as a file, but 576 MB as the 32-bit pixels the picture box shows.
        QImage huge(12000, 12000, QImage::Format_Mono);
        huge.setColorTable({Colours[0].rgb(), Colours[1].rgb()});
        huge.fill(1);
        out.bad(u"png-12000-1-bit.png"_s, encoded(huge, "png"));
    }

    // An icon's sizes live twice: one byte each in its directory entry (0 meaning 256), whole in
    // its bitmap. The decoder goes by the entry, so a bitmap that disagrees may still show.
    constexpr qsizetype IconEntry = 6, IconBitmap = 6 + 16;
    const QByteArray ico = encoded(busy, "ico");
    out.either(u"ico-entry-size-0.ico"_s, patched(ico, [](QByteArray &b) {
                   b[IconEntry] = 0;
                   b[IconEntry + 1] = 0;
               }));
    out.bad(u"ico-entry-255.ico"_s, patched(ico, [](QByteArray &b) {
                b[IconEntry] = char(255);
                b[IconEntry + 1] = char(255);
            }));
    out.either(u"ico-bitmap-width-0.ico"_s,
               patched(ico, [](QByteArray &b) { putLe32(b, IconBitmap + 4, 0); }));
    out.either(u"ico-bitmap-width-negative.ico"_s,
               patched(ico, [](QByteArray &b) { putLe32(b, IconBitmap + 4, quint32(-40)); }));
    out.either(u"ico-bitmap-60000.ico"_s, patched(ico, [](QByteArray &b) {
                   putLe32(b, IconBitmap + 4, 60000);
                   putLe32(b, IconBitmap + 8, 120000);  // the mask's rows count twice
               }));
    out.bad(u"ico-png-60000.ico"_s, iconHolding(pngClaiming(png, 60000, 60000)));
    out.bad(u"ico-png-cut.ico"_s, iconHolding(png.left(png.size() / 2)));
    out.bad(u"ico-bytes-past-end.ico"_s,
            patched(ico, [](QByteArray &b) { putLe32(b, IconEntry + 8, 0xfffffff0); }));
    out.bad(u"ico-offset-past-end.ico"_s, patched(ico, [&](QByteArray &b) {
                putLe32(b, IconEntry + 12, quint32(ico.size() + 1000));
            }));
    out.bad(u"ico-offset-far-past-end.ico"_s,
            patched(ico, [](QByteArray &b) { putLe32(b, IconEntry + 12, 0xfffffff0); }));
    out.bad(u"ico-65535-entries.ico"_s, patched(ico, [](QByteArray &b) { putLe16(b, 4, 0xffff); }));

    const QByteArray bigGif = gifFile(indexedHalves(Qt::red, Qt::blue));
    const qsizetype descriptor = bigGif.indexOf(',', 13 + 3 * 256);
    out.bad(u"gif-60000.gif"_s, patched(bigGif, [&](QByteArray &b) {
                for (const qsizetype at : {qsizetype(6), descriptor + 5}) {
                    putLe16(b, at, 60000);
                    putLe16(b, at + 2, 60000);
                }
            }));
    const qsizetype frame = jpeg.indexOf("\xff\xc0");
    out.bad(u"jpg-60000.jpg"_s, patched(jpeg, [&](QByteArray &b) {
                qToBigEndian<quint16>(60000, b.data() + frame + 5);
                qToBigEndian<quint16>(60000, b.data() + frame + 7);
            }));
    out.bad(u"jpg-height-0.jpg"_s,
            patched(jpeg, [&](QByteArray &b) { qToBigEndian<quint16>(0, b.data() + frame + 5); }));
    goodPicture(u"good-after-sizes.bmp"_s, "bmp");

    // Colour indices beyond a 2-colour palette show its first colour, never what lies past it.
    {
        const QColor left = Colours[colour++ % Colours.size()];
        const QByteArray row = QByteArray(20, char(0)) + QByteArray(20, char(200));
        out.good(u"bmp-index-beyond-palette.bmp"_s,
                 indexedBmp({left.rgb(), Colours[0].rgb()}, row, PictureSize.height()), left, left);
    }
    // Pixels an RLE stream skips show the picture box's back colour: here every row ends after
    // its left half.
    {
        const QColor left = Colours[colour++ % Colours.size()];
        BmpFile rle;
        rle.width = PictureSize.width();
        rle.height = PictureSize.height();
        rle.bitsPerPixel = 8;
        rle.compression = 1;
        rle.palette = {left.rgb()};
        for (int y = 0; y < PictureSize.height(); ++y)
            rle.pixels += QByteArray::fromHex("14000000");  // 20 pixels of colour 0, line end
        rle.pixels += QByteArray::fromHex("0001");          // end of picture
        out.good(u"bmp-rle-left-half.bmp"_s, rle.bytes(), left, QColor(192, 192, 192));
    }
    goodPicture(u"good-after-palette.png"_s, "png");
    std::array<QRgb, 256> palette{};
    const QColor pcxLeft = Colours[colour++ % Colours.size()];
    const QColor pcxRight = Colours[colour++ % Colours.size()];
    palette[1] = pcxLeft.rgb();
    palette[2] = pcxRight.rgb();
    const QByteArray pcx8 =
        indexedPcx(PictureSize, palette, [](int) { return halvesRow(PictureSize.width()); });
    out.good(u"pcx-256-colours.pcx"_s, pcx8, pcxLeft, pcxRight);
    out.bad(u"pcx-palette-short.pcx"_s, pcx8.chopped(200));
    out.bad(u"pcx-palette-missing.pcx"_s, pcx8.chopped(769));
    out.bad(u"pcx-palette-mark-wrong.pcx"_s,
            patched(pcx8, [](QByteArray &b) { b[b.size() - 769] = 0x0d; }));
    // Runs: one that spills from the last row past the picture is harmless, one cut off by the
    // end of the data is not.
    const QColor spillLeft = Colours[colour++ % Colours.size()];
    const QColor spillRight = Colours[colour++ % Colours.size()];
    palette[1] = spillLeft.rgb();
    palette[2] = spillRight.rgb();
    out.good(u"pcx-run-past-picture.pcx"_s,
             indexedPcx(PictureSize, palette,
                        [](int y) {
                            if (y < PictureSize.height() - 1)
                                return halvesRow(PictureSize.width());
                            return QByteArray(1, char(0xc0 | 20)) + char(1) + char(0xff) + char(2);
                        }),
             spillLeft, spillRight);
    out.bad(u"pcx-run-cut-by-end.pcx"_s, indexedPcx(PictureSize, palette, [](int y) {
                if (y < PictureSize.height() - 1)
                    return halvesRow(PictureSize.width());
                return QByteArray(1, char(0xc0 | 20)) + char(1) + char(0xff);  // no value byte
            }));
    out.bad(u"pcx-runs-one-row-short.pcx"_s, indexedPcx(PictureSize, palette, [](int y) {
                return y < PictureSize.height() - 1 ? halvesRow(PictureSize.width()) : QByteArray();
            }));

    // Content that does not match the name: decided by what is inside.
    goodPicture(u"good-before-names.gif"_s, "gif");
    out.bad(u"text.bmp"_s, "not a picture, only text\n");
    out.bad(u"random.ico"_s, QByteArray::fromHex("00000100010010100000000000000000"
                                                 "deadbeefcafebabe0123456789abcdef"));
    {
        const QColor left = Colours[colour++ % Colours.size()];
        const QColor right = Colours[colour++ % Colours.size()];
        out.good(u"png-named.pcx"_s, encoded(halves(left, right), "png"), left, right);
    }
    {
        const QColor left = Colours[colour++ % Colours.size()];
        const QColor right = Colours[colour++ % Colours.size()];
        out.good(u"pcx-named.bmp"_s, pcxFile(halves(left, right)), left, right);
    }
    for (const QString &extension : {u"bmp"_s, u"pcx"_s, u"ico"_s, u"png"_s, u"gif"_s})
        out.bad(u"empty."_s + extension, {});
    if (!out.unlisted())
        return 1;
#ifdef Q_OS_UNIX
    {
        const auto [target, left, right] = goodPicture(u"good-linked.png"_s, "png");
        goodPicture(u"good-before-link.bmp"_s, "bmp");
        out.goodLink(u"link-to-good.png"_s, target, left, right);
    }
#endif

    // The last good picture, then files the walk removes or turns into a FIFO after the chooser
    // listed them. Either may be gone from the list by the time the walk gets there, so the
    // next file must not load either.
    goodPicture(u"good-last.bmp"_s, "bmp");
    out.vanishing(u"removed.bmp"_s, encoded(halves(Qt::red, Qt::green), "bmp"));
#ifdef Q_OS_UNIX
    out.becomingFifo(u"fifo-later.bmp"_s, "not a picture, and soon a FIFO\n");
#endif
    return out.ok() ? 0 : 1;
}
