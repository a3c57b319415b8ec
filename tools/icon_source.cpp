// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/icon_source.h"

#include <QFile>

namespace vantok
{

namespace
{

std::optional<int> indexOf(char c)
{
    if (c == '.')
        return IconSource::Transparent;
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return std::nullopt;
}

std::nullopt_t fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return std::nullopt;
}

}  // namespace

std::optional<IconSource> IconSource::parse(QByteArrayView text, QString *error)
{
    IconSource source;
    int lineNumber = 0;
    for (QByteArrayView line : QByteArray(text.toByteArray()).split('\n')) {
        ++lineNumber;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (source.m_height == 0)
            source.m_width = int(line.size());
        if (line.size() != source.m_width)
            return fail(error, QStringLiteral("line %1: %2 pixels, the first row has %3")
                                   .arg(lineNumber)
                                   .arg(line.size())
                                   .arg(source.m_width));
        for (qsizetype x = 0; x < line.size(); ++x) {
            const std::optional<int> index = indexOf(line[x]);
            if (!index)
                return fail(error, QStringLiteral("line %1, column %2: '%3' is no palette index")
                                       .arg(lineNumber)
                                       .arg(x + 1)
                                       .arg(QChar::fromLatin1(line[x])));
            source.m_indices.append(qint8(*index));
        }
        ++source.m_height;
    }
    if (source.m_height == 0)
        return fail(error, QStringLiteral("no rows"));
    if (source.m_width > MaximumSize || source.m_height > MaximumSize)
        return fail(error, QStringLiteral("%1 x %2 is larger than an icon can be")
                               .arg(source.m_width)
                               .arg(source.m_height));
    return source;
}

std::optional<IconSource> IconSource::read(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, path + QStringLiteral(": ") + file.errorString());
    QString why;
    std::optional<IconSource> source = parse(file.readAll(), &why);
    if (!source)
        return fail(error, path + QStringLiteral(": ") + why);
    return source;
}

}  // namespace vantok
