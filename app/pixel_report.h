// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/colour_text.h"

#include <QList>
#include <QPoint>
#include <QString>

namespace vantok
{

// What `vantok --pixel X,Y [--as FORM] PICTURE` asks for: pixels counted from the top-left.
struct PixelRequest {
    QString picture;
    QList<QPoint> pixels;
    ColourForm form = ColourForm::Hash;
};

// Prints the stored colour of each pixel asked for, one line each on standard output, in order,
// in the form asked for; rgba() gives the stored alpha, not composited. A pixel outside the
// picture, or a picture that cannot be read, gives one line on standard error saying why, and the
// pixels that can be read still print. Needs no display, only a QCoreApplication. Returns the
// exit status: 0 when every pixel printed, else 1.
int reportPixels(const PixelRequest &request);

}  // namespace vantok
