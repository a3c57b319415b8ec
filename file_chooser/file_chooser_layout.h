// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/control_layout.h"

#include <QPoint>
#include <QSize>

#include <array>

namespace vantok
{

// Where the client area was designed to open (beside the main window), and its size, in pixels.
inline constexpr QPoint FileChooserClientPosition{421, 76};
inline constexpr QSize FileChooserClientSize{305, 218};

// Every control of the chooser in twips, top of the stacking order first. The right column
// starts one pixel inside the left one, and the pattern box covers the file list's last two rows.
inline constexpr std::array FileChooserLayout{
    ControlPlace{"Ch", {480, 3000, 1215, 255}, 4},  ControlPlace{"Te", {2280, 2880, 2295, 390}, 3},
    ControlPlace{"File", {2280, 0, 2295, 2910}, 2}, ControlPlace{"DirP", {0, 360, 2295, 2550}, 1},
    ControlPlace{"DD", {0, 0, 2295, 315}, 0},
};

}  // namespace vantok
