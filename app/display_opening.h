// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

#include <memory>

namespace vantok
{

// The application on the display Qt chooses, as QApplication(argc, argv) opens it. When no
// display opens (none set, a server that does not answer, no compositor), Qt ends the process
// with an abort; instead one line says so on stderr and the process ends with status 1. What Qt
// says meanwhile is held back, and said once a display has opened.
std::unique_ptr<QApplication> openDisplay(int &argc, char **argv);

}  // namespace vantok
