// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/colour_value.h"

#include <QFrame>
#include <QImage>
#include <QTransform>

namespace vantok
{

// A picture box: a 2-pixel sunken border around an inner area that shows an optional picture at
// its natural size, one picture pixel per logical pixel, never smoothed. A press with any mouse
// button on the inner area raises `mouseDown` with the point in inner-area coordinates, and
// `point` reads back exactly the pixel drawn there, at any device pixel ratio.
class PictureBox : public QFrame
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    // Takes the picture's size plus the border; a null image clears the box back to the size it
    // had before its first picture. A picture moved in is not copied where it can be helped.
    void setPicture(QImage picture);
    bool hasPicture() const { return !m_shown.isNull(); }
    // The picture as shown: transparent pixels already composited over the back colour.
    const QImage &shownPicture() const { return m_shown; }

    void setBackColor(const QColor &colour);
    QColor backColor() const { return m_backColor; }

    // The colour value shown at `at` (inner-area coordinates), -1 outside the inner area.
    ColourValue point(QPointF at) const;

signals:
    void mouseDown(QPointF at);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    // The picture pixel drawn under `at`; off the inner area when outside it.
    QPoint cellAt(QPointF at) const;
    // Where the pointer was pressed, in widget coordinates, to the device pixel.
    QPointF pointerPosition(const QMouseEvent &event) const;
    bool inInnerArea(QPoint cell) const;
    void paintScaled(QPainter &painter, const QRect &exposed) const;

    QImage m_shown;
    QColor m_backColor{192, 192, 192};
    QSize m_designSize;
    // Where the inner area's top-left device pixel was last drawn; picks map through the same.
    mutable QTransform m_deviceTransform;
    mutable bool m_painted = false;
};

}  // namespace vantok
