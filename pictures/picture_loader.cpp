// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/picture_loader.h"

#include "pictures/cut_short.h"
#include "pictures/sixteen_bit_png.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <span>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

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
Refusal openRegularFile(QFile &file, const FileName &fileName)
{
#ifdef Q_OS_UNIX
    const QByteArray &path = fileName.native();
    struct stat named;
    if (path.isEmpty())
        return Refusal::NoSuchFile;
    if (::stat(path.constData(), &named) != 0)
        return errno == EACCES ? Refusal::NotReadable : Refusal::NoSuchFile;
    if (S_ISDIR(named.st_mode))
        return Refusal::Folder;
    if (!S_ISREG(named.st_mode))
        return Refusal::NotAPicture;
    const int descriptor = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        return errno == ENOENT ? Refusal::NoSuchFile : Refusal::NotReadable;
    struct stat opened;
    if (::fstat(descriptor, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(descriptor);
        return Refusal::NotAPicture;
    }
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return Refusal::NotReadable;
#else
    const QFileInfo named(fileName.native());
    if (!named.exists())
        return Refusal::NoSuchFile;
    if (named.isDir())
        return Refusal::Folder;
    if (!named.isFile())
        return Refusal::NotAPicture;
    file.setFileName(fileName.native());
    if (!file.open(QIODevice::ReadOnly))
        return Refusal::NotReadable;
#endif
    return Refusal::None;
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

QString PictureLoad::reason() const
{
    switch (refusal) {
    case Refusal::None:
        break;
    case Refusal::NoSuchFile:
        return u"there is no such file"_s;
    case Refusal::NotReadable:
        return u"the file is not readable"_s;
    case Refusal::Folder:
        return u"it is a folder"_s;
    case Refusal::NotAPicture:
        return u"it is not a picture Vantok reads"_s;
    case Refusal::TooLarge:
        return u"the picture is %1 × %2, more than the 512 MiB of pixels Vantok holds"_s
            .arg(size.width())
            .arg(size.height());
    case Refusal::CutShort:
        return u"the file is cut short"_s;
    }
    return {};
}

PictureLoad tryLoadPicture(const FileName &fileName)
{
    QFile file;
    if (const Refusal refusal = openRegularFile(file, fileName); refusal != Refusal::None)
        return PictureLoad::refused(refusal);
    return tryLoadPicture(file);
}

PictureLoad tryLoadPicture(QIODevice &device)
{
    const qint64 start = device.pos();
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    // The format first: the icon decoder's probe only works while the device is at its start.
    const QByteArray format = reader.format();
    if (format.isEmpty() || among(RefusedFormats, format))
        return PictureLoad::refused(Refusal::NotAPicture);  // none recognises it, or none is safe
    // Which Qt 6.4's reader garbles; looked for while the device is at the start.
    const bool keyedSixteenBitPng = format == "png" && isColourKeyedSixteenBitPng(device);
    if (format == "ico")
        jumpToLargestImage(reader);
    if (!fitsPictureSizeLimit(reader.size()))
        return PictureLoad::refused(Refusal::TooLarge, reader.size());
    if (readerMayShowCutFile(format) && endsCutShort(device, start, format))
        return PictureLoad::refused(Refusal::CutShort);

    QImage picture;
    if (keyedSixteenBitPng && device.seek(start))
        picture = readColourKeyedSixteenBitPng(device);
    else if (!reader.read(&picture))
        picture = {};  // drops the partial image a PNG decoder leaves behind
    if (picture.isNull())
        return PictureLoad::refused(endsCutShort(device, start, format) ? Refusal::CutShort
                                                                        : Refusal::NotAPicture);
    return PictureLoad::loaded(std::move(picture));
}

QImage loadPicture(const FileName &fileName)
{
    return tryLoadPicture(fileName).picture;
}

QImage loadPicture(QIODevice &device)
{
    return tryLoadPicture(device).picture;
}

bool namesFolder(const FileName &fileName)
{
#ifdef Q_OS_UNIX
    struct stat named;
    return ::stat(fileName.native().constData(), &named) == 0 && S_ISDIR(named.st_mode);
#else
    return QFileInfo(fileName.native()).isDir();
#endif
}

}  // namespace vantok
