// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace vantok
{

// One screen's part of a picture of the whole desktop, in the picture's pixels.
struct ScreenPart {
    QString screen;  // the screen's name, as Qt reports it
    QRect rect;

    friend bool operator==(const ScreenPart &, const ScreenPart &) = default;
};

// A screen as Qt places it on the desktop, in logical pixels.
struct ScreenPlace {
    QString screen;
    QRect geometry;
};

// Where each screen lies in a picture of the whole desktop: its place relative to the desktop's
// top-left, times the picture's width over the desktop's. At one scale for every screen this is
// each screen's own device pixels; each part is kept inside the picture.
QList<ScreenPart> partsOfDesktopPicture(const QList<ScreenPlace> &screens, QSize picture);

// Where a loupe of `size` goes beside the pointer at `pointer`, inside `area`: below and to the
// right, `gap` away, flipped to the other side of the pointer along an edge it would cross, so that
// it never covers the pointer and stays whole.
QRect loupePlace(QRect area, QPoint pointer, QSize size, int gap);

}  // namespace vantok
