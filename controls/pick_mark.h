// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/colour_value.h"

#include <QPoint>
#include <QString>

#include <optional>

class QKeyEvent;
class QPainter;

namespace vantok
{

class PictureView;

// How far Shift with an arrow key (one pixel) or a Page key (ten) moves the mark; none for any
// other key.
QPoint markStep(const QKeyEvent &event);

// The pixel of a picture box that Space or Enter takes, moved by the keys. It starts at the pixel
// last picked, or else at the view's centre, and is drawn only after the keys moved it, so that
// nothing looks different to a user of the mouse alone.
class PickMark
{
public:
    explicit PickMark(const PictureView &view) : m_view(view) {}

    // Forgets the pixel: for a new picture.
    void clear();
    // Goes on from `cell`, which was just taken.
    void pickedAt(QPoint cell) { m_cell = cell; }
    void hide() { m_shown = false; }
    // Moves by `cells`, staying on the picture, and shows.
    void moveBy(QPoint cells);

    QPoint cell() const;
    bool isShown() const { return m_shown; }

    // Draws a one-device-pixel outline around the pixel's device pixels, black on a light pixel
    // and white on a dark one; the pixel itself stays whole. The painter works in device pixels,
    // `origin` being the view's first.
    void paint(QPainter &painter, QPoint origin, ColourValue colour) const;
    // What a screen reader hears: "Mark on pixel 12, 40: red 10, green 20, blue 30".
    QString description(ColourValue colour) const;

private:
    const PictureView &m_view;
    std::optional<QPoint> m_cell;
    bool m_shown = false;
};

}  // namespace vantok
