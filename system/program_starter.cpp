// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/program_starter.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace vantok
{

namespace
{

// "\WINDOWS\X.EXE" is from the root of the current drive, ".\X.EXE" from the current directory.
QString resolveDefault(const QString &path)
{
    QString portable = path;
    portable.replace(u'\\', u'/');
    if (portable.startsWith(u'/'))
        return QDir::cleanPath(QDir::current().rootPath() + portable.mid(1));
    return QDir::current().absoluteFilePath(portable);
}

}  // namespace

QString locateProgram(const QString &defaultPath, const QStringList &alternatives)
{
    const QFileInfo fixed(resolveDefault(defaultPath));
    if (fixed.isFile() && fixed.isExecutable())
        return QDir::toNativeSeparators(fixed.absoluteFilePath());
    for (const QString &name : alternatives) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

void startProgram(const QString &defaultPath, const QStringList &alternatives)
{
    const QString program = locateProgram(defaultPath, alternatives);
    if (!program.isEmpty())
        QProcess::startDetached(program, {});
}

}  // namespace vantok
