// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QPointer>

#include <functional>

namespace vantok
{

class ImageControl;
class PictureBox;
class PictureSource;

// The main window's four picture-area controls, the only ones a load touches, and the main
// window's own load from outside, which a load into Pic1 goes through.
struct PictureArea {
    ImageControl *Im = nullptr;
    PictureBox *Pic1 = nullptr;
    QAbstractButton *YA = nullptr;
    PictureBox *Pic2 = nullptr;
    std::function<bool(const PictureSource &source, QWidget *busyWindow)> openPicture;
};

// Hands the chooser the main window's picture area; app/ supplies it and creates and shows the
// main window anew when the user has closed it.
using PictureAreaProvider = std::function<PictureArea()>;

}  // namespace vantok
