// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace vantok
{

// Finds a program to start: `defaultPath` when that file exists and is executable (a path from
// the root of the current drive or relative to the current directory, with either separator),
// otherwise the first of `alternatives` found on PATH. Empty when nothing is found.
QString locateProgram(const QString &defaultPath, const QStringList &alternatives);

// Starts the located program with no arguments and no shell, without waiting; failures are
// ignored, as nothing depends on the program.
void startProgram(const QString &defaultPath, const QStringList &alternatives);

}  // namespace vantok
