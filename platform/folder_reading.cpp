// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_reading.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace vantok
{

bool isReadableFolder(const QString &directory)
{
    const QFileInfo folder(directory);
#ifdef Q_OS_UNIX
    return folder.isDir() && folder.isReadable() && folder.isExecutable();  // x lets us list
#else
    return folder.isDir() && folder.isReadable();
#endif
}

QStringList fileNamesIn(const QString &directory)
{
    return QDir(directory).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
}

QStringList folderNamesIn(const QString &directory)
{
    return QDir(directory).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
}

void sortCaseInsensitively(QStringList &names)
{
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int byLetters = a.compare(b, Qt::CaseInsensitive);
        return byLetters != 0 ? byLetters < 0 : a < b;
    });
}

}  // namespace vantok
