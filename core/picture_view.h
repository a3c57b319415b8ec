// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

namespace vantok
{

// How a picture lies in the device pixels of the view that shows it: the zoom (logical pixels per
// picture pixel), the device pixel ratio, and the offset of the view's first device pixel into the
// magnified picture. Painting and picking both go through `cellOfDevicePixel`, so a press always
// reads the pixel drawn under it.
class PictureView
{
public:
    static constexpr qreal MaxZoom = 64;

    // A new picture starts at 1:1, top-left.
    void setPictureSize(QSize size);
    void setRatio(qreal ratio);
    // The view's size in device pixels; the offset stays within what the picture allows.
    void setViewSize(QSize device);

    QSize pictureSize() const { return m_picture; }
    QSize viewSize() const { return m_view; }
    qreal ratio() const { return m_ratio; }
    qreal zoom() const { return m_zoom; }
    QPoint offset() const { return m_offset; }

    // Device pixels the magnified picture spans.
    QSize contentSize() const;
    QPoint maxOffset() const;
    void setOffset(QPoint offset);
    // Sets the zoom, keeping the picture point under `anchor` (view device pixels) where it is.
    void setZoom(qreal zoom, QPointF anchor);

    // The picture pixel drawn at device pixel `device`, counted from the view's first one.
    QPoint cellOfDevicePixel(QPoint device) const;
    // The device pixels that show picture pixel `cell`, counted from the view's first one. Zoomed
    // out, a pixel no device pixel shows gets the device pixel it lies in.
    QRect devicePixelsOf(QPoint cell) const;
    // The offset nearest to the current one that shows all of `device` (view device pixels), or
    // its top-left part when it is larger than the view.
    QPoint offsetShowing(QRect device) const;

    // Device pixels whose centres fall on `length` units of `pixelsPerUnit` device pixels each.
    static int deviceSpan(qreal length, qreal pixelsPerUnit);
    // The next zoom in or out among the whole factors 1, 2, 3, 4, 6, 8, 12 ... and their
    // reciprocals; zooming out never goes below `minimum`, zooming in never beyond MaxZoom.
    static qreal zoomedIn(qreal zoom);
    static qreal zoomedOut(qreal zoom, qreal minimum);

private:
    qreal devicePerCell() const { return m_ratio * m_zoom; }

    QSize m_picture;
    QSize m_view;
    qreal m_ratio = 1;
    qreal m_zoom = 1;
    QPoint m_offset;
};

}  // namespace vantok
