// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/picture_loader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <span>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vantok
{

namespace
{

// Qt's BMP decoder stops quietly where the data ends and reports success with the rows it never
// wrote left as they were allocated; for it a read that came up short means a damaged file.
constexpr std::array<QByteArrayView, 1> QuietAtEndFormats{"bmp"};

// Decoders the program never hands a picture to: Qt's ICNS decoder trusts a length from the
// file and asks for that much memory at once (8 GiB from a 276-byte file), outside the limit.
constexpr std::array<QByteArrayView, 1> RefusedFormats{"icns"};

bool among(std::span<const QByteArrayView> formats, QByteArrayView format)
{
    return std::ranges::find(formats, format) != formats.end();
}

// Passes reads and seeks through to a source device and notes whether a read, once watching
// has begun, asked for more than was left. Unbuffered, so every request reaches readData as the
// decoder made it.
class ShortReadWatch : public QIODevice
{
public:
    explicit ShortReadWatch(QIODevice &source) : m_source(source), m_origin(source.pos())
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    void startWatching() { m_watching = true; }
    bool ranShort() const { return m_ranShort; }

    bool isSequential() const override { return m_source.isSequential(); }
    qint64 size() const override { return m_source.size() - m_origin; }
    bool seek(qint64 pos) override { return QIODevice::seek(pos) && m_source.seek(m_origin + pos); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 got = m_source.read(data, maxSize);
        if (m_watching && got < maxSize)
            m_ranShort = true;
        return got;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QIODevice &m_source;
    const qint64 m_origin;
    bool m_watching = false;
    bool m_ranShort = false;
};

// An icon file holds several images; the largest is the one worth picking colours from. The
// first listed wins among equals.
void jumpToLargestImage(QImageReader &reader)
{
    const auto area = [](QSize size) { return qint64(size.width()) * size.height(); };
    int largest = 0;
    qint64 largestArea = -1;
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (reader.jumpToImage(i) && area(reader.size()) > largestArea) {
            largest = i;
            largestArea = area(reader.size());
        }
    }
    reader.jumpToImage(largest);
}

// Opens `fileName` only if it is a regular file or a link to one. A FIFO would wait for a writer
// for ever and a device may act on being opened, so neither is opened; one that takes the file's
// place after the check is opened without waiting and refused.
bool openRegularFile(QFile &file, const QString &fileName)
{
    if (!QFileInfo(fileName).isFile())
        return false;
#ifdef Q_OS_UNIX
    const int descriptor = ::open(QFile::encodeName(fileName).constData(),
                                  O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        return false;
    struct stat opened;
    if (::fstat(descriptor, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(descriptor);
        return false;
    }
    return file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
#else
    file.setFileName(fileName);
    return file.open(QIODevice::ReadOnly);
#endif
}

}  // namespace

void applyPictureSizeLimit()
{
    QImageReader::setAllocationLimit(PictureSizeLimitMiB);
}

bool fitsPictureSizeLimit(QSize size)
{
    if (!size.isValid())
        return true;
    constexpr qint64 limitBytes = qint64(PictureSizeLimitMiB) * 1024 * 1024;
    return qint64(size.width()) * size.height() * 4 <= limitBytes;
}

QImage loadPicture(const QString &fileName)
{
    QFile file;
    if (!openRegularFile(file, fileName))
        return {};
    return loadPicture(file);
}

QImage loadPicture(QIODevice &device)
{
    ShortReadWatch watched(device);
    QImageReader reader(&watched);
    reader.setDecideFormatFromContent(true);
    // The format first: the icon decoder's probe only works while the device is at its start.
    const QByteArray format = reader.format();
    if (format.isEmpty() || among(RefusedFormats, format))
        return {};  // no installed decoder recognises the content, or none that is safe
    if (format == "ico")
        jumpToLargestImage(reader);
    if (!fitsPictureSizeLimit(reader.size()))
        return {};

    watched.startWatching();
    QImage picture;
    if (!reader.read(&picture))
        return {};  // also drops the partial image a PNG decoder leaves behind
    if (watched.ranShort() && among(QuietAtEndFormats, format))
        return {};
    return picture;
}

}  // namespace vantok
