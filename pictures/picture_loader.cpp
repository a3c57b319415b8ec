// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/picture_loader.h"

#include "pictures/sixteen_bit_png.h"

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

// Decoders the program never hands a picture to: Qt's ICNS decoder trusts a length from the
// file and asks for that much memory at once (8 GiB from a 276-byte file), outside the limit.
constexpr std::array<QByteArrayView, 1> RefusedFormats{"icns"};

bool among(std::span<const QByteArrayView> formats, QByteArrayView format)
{
    return std::ranges::find(formats, format) != formats.end();
}

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
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    // The format first: the icon decoder's probe only works while the device is at its start.
    const QByteArray format = reader.format();
    if (format.isEmpty() || among(RefusedFormats, format))
        return {};  // no installed decoder recognises the content, or none that is safe
    if (format == "png" && isColourKeyedSixteenBitPng(device))
        return readColourKeyedSixteenBitPng(device);  // which Qt 6.4's reader garbles
    if (format == "ico")
        jumpToLargestImage(reader);
    if (!fitsPictureSizeLimit(reader.size()))
        return {};

    QImage picture;
    if (!reader.read(&picture))
        return {};  // also drops the partial image a PNG decoder leaves behind
    return picture;
}

}  // namespace vantok
