// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/path_join.h"

#include <QDir>

namespace vantok
{

QString joinPath(QStringView directory, QStringView fileName, QChar separator)
{
    QString joined;
    joined.reserve(directory.size() + 1 + fileName.size());
    joined.append(directory);
    if (!directory.endsWith(separator))
        joined.append(separator);
    joined.append(fileName);
    return joined;
}

QString joinPath(QStringView directory, QStringView fileName)
{
    return joinPath(directory, fileName, QDir::separator());
}

}  // namespace vantok
