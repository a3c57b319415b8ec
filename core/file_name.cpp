// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/file_name.h"

#include <QCoreApplication>
#include <QUrl>

namespace vantok
{

namespace
{

constexpr char16_t FirstEscape = 0xdc80;  // stands for the byte 0x80
constexpr char16_t LastEscape = 0xdcff;   // and this one for 0xff

// Escapes come alone: a UTF-8 name gives a low surrogate only right after a high one.
bool isEscapeAt(QStringView text, qsizetype i)
{
    const char16_t unit = text[i].unicode();
    return unit >= FirstEscape && unit <= LastEscape && (i == 0 || !text[i - 1].isHighSurrogate());
}

[[maybe_unused]] QString textOf(QByteArrayView bytes)
{
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        // UTF-8 is prefix-free: the shortest valid start is the character there, if any.
        qsizetype length = 1;
        while (length <= 4 && at + length <= bytes.size() &&
               !bytes.sliced(at, length).isValidUtf8())
            ++length;
        if (length <= 4 && at + length <= bytes.size()) {
            text += QString::fromUtf8(bytes.sliced(at, length));
            at += length;
        } else {
            text += QChar(char16_t(0xdc00 + uchar(bytes[at++])));
        }
    }
    return text;
}

[[maybe_unused]] QByteArray bytesOf(QStringView text)
{
    QByteArray bytes;
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isEscapeAt(text, i))
            continue;
        bytes += text.sliced(plainFrom, i - plainFrom).toUtf8();
        bytes += char(text[i].unicode() - 0xdc00);
        plainFrom = i + 1;
    }
    return bytes + text.sliced(plainFrom).toUtf8();
}

}  // namespace

#ifdef Q_OS_WIN

FileName::FileName(const QString &text) : m_native(text) {}

QString FileName::text() const
{
    return m_native;
}

FileName FileName::fromLocalFileUrl(const QUrl &url)
{
    return url.toLocalFile();
}

QStringList commandLineArguments(int argc, char *argv[])
{
    if (QCoreApplication::instance())
        return QCoreApplication::arguments();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

#else

FileName::FileName(const QString &text) : m_native(bytesOf(text)) {}

QString FileName::text() const
{
    return textOf(m_native);
}

FileName FileName::fromLocalFileUrl(const QUrl &url)
{
    // A URL's path is UTF-8 when decoded, which would lose other bytes; encoded, it keeps them.
    return fromNative(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

// Qt's own arguments() would be read as UTF-8, losing other bytes; argv has them all.
QStringList commandLineArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(textOf(argv[i]));
    return arguments;
}

#endif

FileName FileName::fromNative(Native native)
{
    FileName name;
    name.m_native = std::move(native);
    return name;
}

QString FileName::shown(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isEscapeAt(text, i))
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

}  // namespace vantok
