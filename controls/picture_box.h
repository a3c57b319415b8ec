// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/pick_mark.h"
#include "controls/picture_loupe.h"
#include "core/colour_value.h"
#include "core/picture_view.h"

#include <QFrame>
#include <QImage>
#include <QTimer>
#include <QTransform>

namespace vantok
{

class ViewControls;

// A picture box: a 2-pixel sunken border around an inner area that shows an optional picture at
// its natural size, one picture pixel per logical pixel, never smoothed. A press with any mouse
// button on the picture's view raises `mouseDown` with the point in inner-area coordinates, and
// `point` reads back exactly the pixel drawn there, at any device pixel ratio and zoom.
//
// With pan and zoom enabled it also lets the user move and magnify its picture: it takes no more
// room than its window leaves it, shows scroll bars inside its border when the picture is larger
// than that, pans with the wheel, the scroll bars and the keys, and zooms with Ctrl. A picture that
// fits, at 1:1, shows exactly as it does without them. Shift with the arrow and Page keys moves a
// pick mark over the picture's pixels, and Space or Enter raises `markTaken` with its pixel. While
// a button is held on it, a loupe follows the pointer and each pixel passed raises `mouseDown`.
class PictureBox : public QFrame
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    // Follows the parent's size from then on; cannot be taken back.
    void enablePanAndZoom();

    // Takes the picture's size plus the border; a null image clears the box back to the size it
    // had before its first picture. A new picture starts at 1:1, top-left. A picture moved in is
    // not copied where it can be helped.
    void setPicture(QImage picture);
    bool hasPicture() const { return !m_shown.isNull(); }
    // The picture as held: 32-bit RGB, or 32-bit ARGB with the values it stores where it has
    // alpha, which is drawn over the back colour.
    const QImage &shownPicture() const { return m_shown; }

    void setBackColor(const QColor &colour);
    QColor backColor() const { return m_backColor; }

    // The colour value shown at `at` (inner-area coordinates), -1 outside the picture's view.
    ColourValue point(QPointF at) const;
    // The colour value of picture pixel `cell` as drawn: the back colour off the picture.
    ColourValue pixel(QPoint cell) const;

    const PictureView &view() const { return m_view; }
    // Pans so that picture pixel `cell` is in view, in its middle when it was out of view.
    void bringIntoView(QPoint cell);

signals:
    void mouseDown(QPointF at);
    void markTaken(QPoint cell);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The device pixel under `at`, counted from the view's first device pixel.
    QPoint devicePixelAt(QPointF at) const;
    bool inView(QPoint device) const;
    // Where the pointer was pressed, in widget coordinates, to the device pixel.
    QPointF pointerPosition(const QMouseEvent &event) const;
    void paintScaled(QPainter &painter, const QRect &exposed) const;

    bool pansAndZooms() const { return m_viewControls != nullptr; }
    // Whether zoom or a lack of room puts scroll bars and the zoom's corner in the box.
    bool showsViewControls() const;
    QSize roomInWindow() const;
    qreal leastZoom() const;
    void fitToRoom();
    void placeViewControls();
    void syncScrollBars();
    void panBy(QPoint device);
    void panTo(QPoint offset);
    // Ctrl+1 zooms `onDevicePixels`: one picture pixel per device pixel.
    void zoomTo(qreal zoom, QPointF anchor, bool onDevicePixels = false);
    QString zoomText() const;
    // Where the view's first device pixel lies in the window, in device pixels.
    QPoint viewOrigin() const;
    bool pressAt(QPointF at, QPoint pointer);
    void notePress(QPointF at);
    void showLoupe();
    // Picture pixel `cell` as drawn: over the back colour where it has alpha, or the back colour.
    QRgb drawnPixel(QPoint cell) const;
    void moveMark(QPoint cells);
    void takeMark();
    void describeView();

    QImage m_shown;
    QColor m_backColor{192, 192, 192};
    QSize m_designSize;
    PictureView m_view;
    // The inner area's part that shows the picture; the rest holds the scroll bars and the zoom.
    QRect m_viewRect;
    ViewControls *m_viewControls = nullptr;
    PickMark m_mark{m_view};
    PictureLoupe m_loupe{this};
    QTimer m_loupeDelay;
    // Where a held button last was: the pointer on the screen and the picture pixel under it.
    struct Held {
        QPoint pointer;
        QPoint cell{-1, -1};
    } m_held;
    bool m_zoomOnDevicePixels = false;
    int m_wheelZoom = 0;  // Ctrl+wheel eighths of a degree not yet made into a zoom step
    // Where the inner area's top-left device pixel was last drawn; picks map through the same.
    mutable QTransform m_deviceTransform;
    mutable bool m_painted = false;
    // The exposed view's device pixels, kept from one paint to the next.
    mutable QImage m_scratch;
};

}  // namespace vantok
