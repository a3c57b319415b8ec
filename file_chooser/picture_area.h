// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QPointer>

#include <functional>

namespace vantok
{

class ImageControl;
class PictureBox;

// The main window's four picture-area controls, the only ones a load touches.
struct PictureArea {
    ImageControl *Im = nullptr;
    PictureBox *Pic1 = nullptr;
    QAbstractButton *YA = nullptr;
    PictureBox *Pic2 = nullptr;
};

// Hands the chooser the main window's picture area; app/ supplies it and creates and shows the
// main window anew when the user has closed it.
using PictureAreaProvider = std::function<PictureArea()>;

}  // namespace vantok
