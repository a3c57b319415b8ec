// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace vantok
{

// The directory, one separator, the file name. A directory that already ends in the separator
// (a root such as "/" or "C:\") gets no second one.
QString joinPath(QStringView directory, QStringView fileName, QChar separator);
// The same with the system's own separator.
QString joinPath(QStringView directory, QStringView fileName);

}  // namespace vantok
