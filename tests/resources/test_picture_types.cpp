// SPDX-License-Identifier: GPL-3.0-or-later
// The picture types the desktop entry and the AppStream file offer Vantok for are exactly those
// the picture loader reads, named as the desktop's MIME database names files of each format.

#include "pictures/picture_loader.h"
#include "testsupport/picture_files.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantok;

namespace
{

// Whether the loader reads a small picture written in `format`. Formats Qt cannot write are
// taken as read: the loader hands every format a decoder knows to it, except those it refuses.
bool loaderReads(const QByteArray &format)
{
    if (!QImageWriter::supportedImageFormats().contains(format))
        return true;
    QByteArray bytes = test::encoded(test::patternPicture({16, 16}), format.constData());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return !loadPicture(buffer).isNull();
}

QSet<QString> typesTheLoaderReads()
{
    const QMimeDatabase mimeDatabase;
    QSet<QString> types;
    for (const QByteArray &format : QImageReader::supportedImageFormats()) {
        if (!loaderReads(format))
            continue;
        const QMimeType type = mimeDatabase.mimeTypeForFile(
            u"picture."_s + QString::fromLatin1(format), QMimeDatabase::MatchExtension);
        if (!type.isDefault())
            types.insert(type.name());
    }
    return types;
}

QString fileText(const char *fileName)
{
    QFile file(QString::fromLocal8Bit(fileName));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString describe(const QSet<QString> &types)
{
    QStringList sorted(types.cbegin(), types.cend());
    sorted.sort();
    return sorted.join(u' ');
}

}  // namespace

class PictureTypesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listed_data();
    void listed();

private:
    QSet<QString> m_readable;
};

void PictureTypesTest::initTestCase()
{
    applyPictureSizeLimit();
    m_readable = typesTheLoaderReads();
    // What a file manager must offer Vantok for, whatever else is installed.
    for (const QString &type :
         {u"image/bmp"_s, u"image/vnd.microsoft.icon"_s, u"image/vnd.zbrush.pcx"_s, u"image/png"_s,
          u"image/jpeg"_s, u"image/gif"_s, u"image/tiff"_s, u"image/webp"_s})
        QVERIFY2(m_readable.contains(type), qPrintable(type));
    QVERIFY(!m_readable.contains(u"image/x-icns"_s));  // refused by the loader
}

void PictureTypesTest::listed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");  // captures one type per match
    QTest::newRow("desktop entry")
        << fileText(VANTOK_DESKTOP_FILE) << u"(?:^MimeType=|\\G)([^;\\n]+);"_s;
    QTest::newRow("AppStream file")
        << fileText(VANTOK_METAINFO_FILE) << u"<mediatype>([^<]+)</mediatype>"_s;
}

void PictureTypesTest::listed()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QVERIFY(!text.isEmpty());
    QSet<QString> listed;
    const QRegularExpression type(pattern, QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch &match : type.globalMatch(text))
        listed.insert(match.captured(1));
    QVERIFY2(listed == m_readable,
             qPrintable(u"listed but not read: %1; read but not listed: %2"_s.arg(
                 describe(listed - m_readable), describe(m_readable - listed))));
}

QTEST_GUILESS_MAIN(PictureTypesTest)
#include "test_picture_types.moc"
