// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/control_layout.h"

#include <array>

namespace vantok
{

// Where the client area was designed to open, and its size, in pixels.
inline constexpr QPoint MainWindowClientPosition{112, 80};
inline constexpr QSize MainWindowClientSize{307, 283};

// Every control of the main window in twips, top of the stacking order first.
inline constexpr std::array MainWindowLayout{
    ControlPlace{"YA", {1080, 960, 3255, 1215}, 6},
    ControlPlace{"Pic2", {1080, 480, 3285, 2760}, 16},
    ControlPlace{"Command6", {0, 3000, 855, 375}, 17},
    ControlPlace{"Command5", {0, 2640, 855, 375}, 15},
    ControlPlace{"Op2", {120, 1320, 495, 255}, 11},
    ControlPlace{"Op1", {120, 1560, 495, 255}, 10},
    ControlPlace{"LABw3", {240, 960, 495, 270}, 9},
    ControlPlace{"LABw2", {240, 720, 495, 270}, 8},
    ControlPlace{"LABw1", {240, 480, 495, 270}, 7},
    ControlPlace{"Command4", {0, 3840, 855, 375}, 5},
    ControlPlace{"Command3", {0, 3360, 855, 375}, 4},
    ControlPlace{"Command2", {0, 2280, 855, 375}, 3},
    ControlPlace{"Command1", {0, 1920, 855, 375}, 2},
    ControlPlace{"Pic1", {840, 0, 3750, 4215}, 0},
    ControlPlace{"Label3", {0, 960, 255, 180}, 14},
    ControlPlace{"Label2", {0, 720, 240, 180}, 13},
    ControlPlace{"Label1", {0, 480, 240, 180}, 12},
    ControlPlace{"Im", {840, 0, 3735, 4215}, NoTabStop},
    ControlPlace{"Lab1", {120, 120, 615, 270}, 1},
};

}  // namespace vantok
