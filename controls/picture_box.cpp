// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/picture_box.h"

#include "controls/view_controls.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QtMath>

#include <algorithm>
#include <climits>
#include <vector>

using namespace Qt::StringLiterals;

namespace vantok
{

namespace
{

constexpr int BorderWidth = 2;
// Pointer positions arrive as device pixels divided by the ratio; undo the rounding error.
constexpr qreal PointerSlack = 1e-4;
// One arrow key press or one line of a wheel notch, in logical pixels.
constexpr int PanStep = 20;
constexpr int WheelNotch = 120;
// How long a button stays down on the picture before the loupe shows.
constexpr auto LoupeDelay = std::chrono::milliseconds(150);

const QString PickHint = u"Press a point to take its colour"_s;

// The picture as held: opaque ones as 32-bit RGB, others as 32-bit ARGB with what they store,
// converted where they lie when no one else holds them, so that a big one is never held twice.
QImage held(QImage picture)
{
    if (picture.isNull())
        return {};
    const QImage::Format format =
        picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    QImage holding = std::move(picture).convertToFormat(format);
    holding.setDevicePixelRatio(1);
    return holding;
}

// Qt's rounding when it multiplies each byte of `x` by `a` / 255.
uint byteMultiplied(uint x, uint a)
{
    uint low = (x & 0xff00ff) * a;
    low = ((low + ((low >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    uint high = ((x >> 8) & 0xff00ff) * a;
    high = (high + ((high >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return high | low;
}

// A stored pixel as drawn over the opaque `back`, with the arithmetic QPainter draws it with.
QRgb drawnOver(QRgb stored, QRgb back)
{
    const uint alpha = qAlpha(stored);
    if (alpha == 255)
        return stored;
    return qPremultiply(stored) + byteMultiplied(back, 255 - alpha);
}

QSize bordersSize()
{
    return {2 * BorderWidth, 2 * BorderWidth};
}

bool fitsIn(QSize size, QSize room)
{
    return size.width() <= room.width() && size.height() <= room.height();
}

}  // namespace

PictureBox::PictureBox(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(BorderWidth);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleDescription(PickHint);
    m_loupeDelay.setSingleShot(true);
    m_loupeDelay.setInterval(LoupeDelay);
    connect(&m_loupeDelay, &QTimer::timeout, this, &PictureBox::showLoupe);
}

void PictureBox::enablePanAndZoom()
{
    if (pansAndZooms())
        return;
    m_viewControls = new ViewControls(this);
    connect(m_viewControls, &ViewControls::scrolled, this,
            [this](Qt::Orientation orientation, int value) {
                QPoint offset = m_view.offset();
                (orientation == Qt::Horizontal ? offset.rx() : offset.ry()) = value;
                panTo(offset);
            });
    m_viewControls->filterBarEvents(this);
    if (parentWidget())
        parentWidget()->installEventFilter(this);
    fitToRoom();
}

void PictureBox::setPicture(QImage picture)
{
    if (!m_designSize.isValid())
        m_designSize = size();
    m_shown = held(std::move(picture));
    m_loupe.hide();
    m_view.setPictureSize(m_shown.size());
    m_wheelZoom = 0;
    m_zoomOnDevicePixels = false;
    m_mark.clear();
    fitToRoom();
    update();
}

void PictureBox::setBackColor(const QColor &colour)
{
    m_backColor = colour;
    update();
}

bool PictureBox::showsViewControls() const
{
    if (!pansAndZooms() || m_shown.isNull())
        return false;
    return m_view.zoom() != 1 || !fitsIn(m_shown.size() + bordersSize(), roomInWindow());
}

// From the box's place to the window's right and bottom edges: what the window lets be seen.
QSize PictureBox::roomInWindow() const
{
    if (!pansAndZooms() || !parentWidget())
        return {INT_MAX, INT_MAX};
    const int least = 2 * BorderWidth + 3 * m_viewControls->extent();
    const QSize room = parentWidget()->size() - QSize(x(), y());
    return room.expandedTo({least, least});
}

// The smallest zoom: where the whole picture fits what the window shows of the box.
qreal PictureBox::leastZoom() const
{
    const QSize room = roomInWindow() - bordersSize();
    if (fitsIn(m_shown.size(), room))
        return 1;
    const int extent = m_viewControls->extent();
    const qreal fit = std::min(qreal(room.width()) / m_shown.width(),
                               qreal(room.height() - extent) / m_shown.height());
    return std::min<qreal>(1, fit);
}

// The picture's size as shown plus the border, and the scroll bars and the zoom when they show,
// but no more than the window leaves.
void PictureBox::fitToRoom()
{
    if (m_shown.isNull()) {
        if (m_designSize.isValid())
            resize(m_designSize);
    } else if (!showsViewControls()) {
        resize(m_shown.size() + bordersSize());
    } else {
        const QSize room = roomInWindow();
        const int extent = m_viewControls->extent();
        const QSize content(qCeil(m_shown.width() * m_view.zoom() - 1e-9),
                            qCeil(m_shown.height() * m_view.zoom() - 1e-9));
        const bool vertical = content.height() > room.height() - bordersSize().height() - extent;
        const int width = std::max(content.width() + (vertical ? extent : 0),
                                   m_viewControls->cornerWidth(zoomText()));
        const QSize wanted = QSize(width, content.height() + extent) + bordersSize();
        resize(wanted.boundedTo(room));
    }
    placeViewControls();
}

void PictureBox::placeViewControls()
{
    const QRect inner = contentsRect();
    const qreal ratio = devicePixelRatioF();
    m_view.setRatio(ratio);
    const auto span = [ratio](QSize size) {
        return QSize(PictureView::deviceSpan(size.width(), ratio),
                     PictureView::deviceSpan(size.height(), ratio));
    };
    m_viewRect = inner;
    if (showsViewControls()) {
        const int extent = m_viewControls->extent();
        m_viewRect.setBottom(inner.bottom() - extent);
        const bool vertical = m_view.contentSize().height() > span(m_viewRect.size()).height();
        if (vertical)
            m_viewRect.setRight(inner.right() - extent);
        const bool horizontal = m_view.contentSize().width() > span(m_viewRect.size()).width();
        m_viewControls->show(inner, horizontal, vertical, zoomText());
    } else if (pansAndZooms()) {
        m_viewControls->hide();
    }
    m_view.setViewSize(span(m_viewRect.size()));
    syncScrollBars();
    describeView();
}

void PictureBox::syncScrollBars()
{
    if (!pansAndZooms())
        return;
    m_viewControls->setPosition(m_view.offset(), m_view.maxOffset(), m_view.viewSize(),
                                qRound(PanStep * m_view.ratio()));
}

void PictureBox::panBy(QPoint device)
{
    panTo(m_view.offset() + device);
}

void PictureBox::panTo(QPoint offset)
{
    const QPoint before = m_view.offset();
    m_view.setOffset(offset);
    const QPoint moved = m_view.offset() - before;
    if (moved.isNull())
        return;
    syncScrollBars();
    // What stays in view moves by whole device pixels, so only the uncovered strip is drawn anew.
    const int ratio = qRound(m_view.ratio());
    if (ratio == m_view.ratio() && moved.x() % ratio == 0 && moved.y() % ratio == 0)
        scroll(-moved.x() / ratio, -moved.y() / ratio, m_viewRect);
    else
        update(m_viewRect);
    describeView();
}

void PictureBox::zoomTo(qreal zoom, QPointF anchor, bool onDevicePixels)
{
    if (zoom == m_view.zoom() && (m_zoomOnDevicePixels || !onDevicePixels))
        return;  // Ctrl+1's name stays until the zoom changes
    m_zoomOnDevicePixels = onDevicePixels;
    m_view.setZoom(zoom, anchor);
    fitToRoom();
    update();
}

void PictureBox::bringIntoView(QPoint cell)
{
    const QPoint device = m_view.devicePixelsOf(cell).topLeft();
    if (!inView(device)) {
        const QSize view = m_view.viewSize();
        panBy(device - QPoint(view.width() / 2, view.height() / 2));
    }
}

// Ctrl+1's zoom reads as what it is, while the display's scale leaves it so; any other as a
// percentage.
QString PictureBox::zoomText() const
{
    if (m_zoomOnDevicePixels && qAbs(m_view.zoom() * m_view.ratio() - 1) < 1e-9)
        return u"1 px = 1 device px"_s;
    return zoomPercent(m_view.zoom());
}

void PictureBox::describeView()
{
    QString description = PickHint;
    if (showsViewControls()) {
        const QSize picture = m_view.pictureSize();
        const QPoint first = m_view.cellOfDevicePixel({0, 0});
        const QPoint corner = m_view.cellOfDevicePixel(
            {m_view.viewSize().width() - 1, m_view.viewSize().height() - 1});
        const QPoint last(std::min(corner.x(), picture.width() - 1),
                          std::min(corner.y(), picture.height() - 1));
        description = u"%1. Zoom %2; pixels %3 to %4 across and %5 to %6 down of %7 by %8 in view"_s
                          .arg(PickHint, zoomText())
                          .arg(first.x())
                          .arg(last.x())
                          .arg(first.y())
                          .arg(last.y())
                          .arg(picture.width())
                          .arg(picture.height());
    }
    if (m_mark.isShown())
        description += u". "_s + m_mark.description(pixel(m_mark.cell()));
    if (accessibleDescription() != description)
        setAccessibleDescription(description);
}

QPoint PictureBox::devicePixelAt(QPointF at) const
{
    const QPointF inner = contentsRect().topLeft();
    const qreal ratio = devicePixelRatioF();
    if (!m_painted) {
        const QPoint offset = mapTo(window(), QPoint());
        m_deviceTransform =
            QTransform::fromTranslate(offset.x(), offset.y()) * QTransform::fromScale(ratio, ratio);
    }
    const QPointF origin = m_deviceTransform.map(inner);
    const QPointF device = m_deviceTransform.map(inner + at);
    return {qFloor(device.x() + PointerSlack) - qRound(origin.x()),
            qFloor(device.y() + PointerSlack) - qRound(origin.y())};
}

bool PictureBox::inView(QPoint device) const
{
    return device.x() >= 0 && device.y() >= 0 && device.x() < m_view.viewSize().width() &&
           device.y() < m_view.viewSize().height();
}

ColourValue PictureBox::point(QPointF at) const
{
    const QPoint device = devicePixelAt(at);
    if (!inView(device))
        return NoColour;
    return pixel(m_view.cellOfDevicePixel(device));
}

ColourValue PictureBox::pixel(QPoint cell) const
{
    const QRgb rgb = drawnPixel(cell);
    return composeColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

QRgb PictureBox::drawnPixel(QPoint cell) const
{
    if (!m_shown.rect().contains(cell))
        return m_backColor.rgb();
    return drawnOver(m_shown.pixel(cell), m_backColor.rgb());
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    if (m_view.ratio() != devicePixelRatioF())
        placeViewControls();  // moved to a screen of another scale
    QPainter painter(this);
    m_deviceTransform = painter.deviceTransform();
    m_painted = true;
    if (pansAndZooms()) {
        // A device pixel that the view's edge cuts in two is not the view's. Filled first, it keeps
        // nothing from an earlier picture; the frame and the controls draw over their part of it.
        const QRect cut = m_deviceTransform.mapRect(QRectF(m_viewRect)).toAlignedRect();
        painter.setTransform(m_deviceTransform.inverted());
        for (const QRect &part : QRegion(cut).subtracted(QRect(viewOrigin(), m_view.viewSize())))
            painter.fillRect(part, m_backColor);
        painter.resetTransform();
    }
    drawFrame(&painter);
    if (pansAndZooms())
        painter.fillRect(m_viewControls->bareStrip() & event->rect(), palette().window());
    const QRect inner = contentsRect();
    const QRect exposed = event->rect() & m_viewRect;
    if (exposed.isEmpty())
        return;

    const QPointF origin = m_deviceTransform.map(QPointF(inner.topLeft()));
    if (m_deviceTransform.type() <= QTransform::TxTranslate && origin == origin.toPoint() &&
        m_view.zoom() == 1 && !m_shown.hasAlphaChannel()) {
        // One device pixel per picture pixel: draw the stored pixels as they are.
        const QPoint shift = m_view.offset() - inner.topLeft();
        const QRect source = exposed.translated(shift) & m_shown.rect();
        for (const QRect &bare : QRegion(exposed).subtracted(source.translated(-shift)))
            painter.fillRect(bare, m_backColor);
        if (!source.isEmpty())
            painter.drawImage(source.topLeft() - shift, m_shown, source);
    } else {
        paintScaled(painter, exposed);
    }
    if (m_mark.isShown()) {
        painter.setTransform(m_deviceTransform.inverted());  // device pixels from here on
        m_mark.paint(painter, viewOrigin(), pixel(m_mark.cell()));
    }
}

QPoint PictureBox::viewOrigin() const
{
    const QPointF origin = m_deviceTransform.map(QPointF(m_viewRect.topLeft()));
    return {qRound(origin.x()), qRound(origin.y())};
}

// Scales the exposed part of the view by hand, device pixel by device pixel, and blits it unscaled
// at a whole device pixel, so what is drawn is exactly what `point` reads. Only the exposed part
// is made, never a scaled copy of the whole picture.
void PictureBox::paintScaled(QPainter &painter, const QRect &exposed) const
{
    const QPoint origin = viewOrigin();
    const QRect viewDevice(origin, m_view.viewSize());
    const QRect target = m_deviceTransform.mapRect(QRectF(exposed)).toAlignedRect() & viewDevice;
    if (target.isEmpty())
        return;

    if (m_scratch.width() < target.width() || m_scratch.height() < target.height())
        m_scratch = QImage(target.size().expandedTo(m_scratch.size()), QImage::Format_RGB32);
    const QRgb back = m_backColor.rgb();
    const QPoint first = target.topLeft() - origin;
    std::vector<int> columns(target.width());
    for (int i = 0; i < target.width(); ++i)
        columns[i] = m_view.cellOfDevicePixel({first.x() + i, 0}).x();
    // Columns only grow, so those on the picture lie between these two.
    const auto begin = std::lower_bound(columns.begin(), columns.end(), 0) - columns.begin();
    const auto end =
        std::lower_bound(columns.begin(), columns.end(), m_shown.width()) - columns.begin();
    const auto line = [this](int row) { return reinterpret_cast<QRgb *>(m_scratch.scanLine(row)); };
    const auto pictureRow = [&](int row) {
        return m_view.cellOfDevicePixel({0, first.y() + row}).y();
    };
    const auto source = [this](int y) {
        return reinterpret_cast<const QRgb *>(m_shown.constScanLine(y));
    };
    const auto fillMargins = [&](QRgb *dst) {
        std::fill(dst, dst + begin, back);
        std::fill(dst + end, dst + target.width(), back);
    };
    // A picture with alpha is drawn over the back colour as its pixels are copied.
    const bool overBack = m_shown.hasAlphaChannel();
    const auto drawOverBack = [&](QRgb *dst) {
        if (overBack)
            std::transform(dst + begin, dst + end, dst + begin,
                           [back](QRgb pixel) { return drawnOver(pixel, back); });
    };
    const QRgb *previous = nullptr;
    int previousY = -1;
    for (int row = 0; row < target.height(); ++row) {
        QRgb *dst = line(row);
        const int y = pictureRow(row);
        if (y < 0 || y >= m_shown.height()) {
            std::fill(dst, dst + target.width(), back);
            continue;
        }
        if (y == previousY) {
            std::copy(previous, previous + target.width(), dst);  // magnified: the same row again
            continue;
        }
        fillMargins(dst);
        const QRgb *src = source(y);
        const int nextY = row + 1 < target.height() ? pictureRow(row + 1) : y;
        if (nextY != y && nextY < m_shown.height()) {
            // Zoomed out, each row comes from memory afresh: two at once keep twice the reads in
            // flight.
            QRgb *dst2 = line(++row);
            const QRgb *src2 = source(nextY);
            fillMargins(dst2);
            for (auto i = begin; i < end; ++i) {
                dst[i] = src[columns[i]];
                dst2[i] = src2[columns[i]];
            }
            drawOverBack(dst);
            drawOverBack(dst2);
            previous = dst2;
            previousY = nextY;
        } else {
            for (auto i = begin; i < end; ++i)
                dst[i] = src[columns[i]];
            drawOverBack(dst);
            previous = dst;
            previousY = y;
        }
    }

    painter.save();
    painter.setTransform(m_deviceTransform.inverted());  // device pixels from here on
    painter.drawImage(target.topLeft(), m_scratch, QRect(QPoint(), target.size()));
    painter.restore();
}

// On its way from the window to the widget, Qt rounds a press's position to a whole logical pixel,
// which above a ratio of 1 loses the device pixel under the pointer; the scene position, relative
// to the window, keeps it. Events made by hand may set the scene position to the widget position,
// so it is taken only when it agrees with the rounded one.
QPointF PictureBox::pointerPosition(const QMouseEvent &event) const
{
    const QPointF exact = mapFrom(window(), event.scenePosition());
    const QPointF rounding = exact - event.position();
    if (qAbs(rounding.x()) <= 0.5 && qAbs(rounding.y()) <= 0.5)
        return exact;
    return event.position();
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    pressAt(pointerPosition(*event) - contentsRect().topLeft(), event->globalPosition().toPoint());
    QFrame::mousePressEvent(event);
}

// Whether the press lands on the view or, above a ratio of 1, on a scroll bar beside it.
bool PictureBox::pressAt(QPointF at, QPoint pointer)
{
    if (!inView(devicePixelAt(at)))
        return false;
    notePress(at);
    emit mouseDown(at);
    // A click takes its colour alone; the loupe comes once the button stays down.
    m_held = {pointer, m_view.cellOfDevicePixel(devicePixelAt(at))};
    if (pansAndZooms())
        m_loupeDelay.start();
    return true;
}

// With a button held on a panning picture the loupe follows the pointer and every pixel it
// passes is picked, as a press there would.
void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF at = pointerPosition(*event) - contentsRect().topLeft();
    if (pansAndZooms() && event->buttons() != Qt::NoButton && inView(devicePixelAt(at))) {
        const QPoint cell = m_view.cellOfDevicePixel(devicePixelAt(at));
        if (cell != m_held.cell)
            emit mouseDown(at);  // picked once a pixel, not at every move within it
        m_held = {event->globalPosition().toPoint(), cell};
        m_loupeDelay.stop();
        showLoupe();
    }
    QFrame::mouseMoveEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::NoButton) {
        m_loupeDelay.stop();
        m_loupe.hide();
        m_held = {};
    }
    QFrame::mouseReleaseEvent(event);
}

void PictureBox::showLoupe()
{
    m_loupe.show(m_shown, m_held.cell, drawnPixel(m_held.cell), m_backColor, m_held.pointer);
}

// A press moves the mark's start to the pressed pixel, and hides the mark until the keys move it.
void PictureBox::notePress(QPointF at)
{
    m_mark.pickedAt(m_view.cellOfDevicePixel(devicePixelAt(at)));
    if (!m_mark.isShown())
        return;
    m_mark.hide();
    update(m_viewRect);
    describeView();
}

// The view follows the mark, its outline included.
void PictureBox::moveMark(QPoint cells)
{
    m_mark.moveBy(cells);
    panTo(m_view.offsetShowing(m_view.devicePixelsOf(m_mark.cell()).adjusted(-1, -1, 1, 1)));
    update(m_viewRect);
    describeView();
}

// The mark's pixel, or the one it would start at, is taken as a press on it would take it.
void PictureBox::takeMark()
{
    const QPoint cell = m_mark.cell();
    m_mark.pickedAt(cell);
    emit markTaken(cell);
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    placeViewControls();
}

// Qt gives a press to the widget under its position rounded to a logical pixel, so above a ratio
// of 1 a scroll bar takes presses on the view's last device column or row; they pick there.
bool PictureBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        fitToRoom();
    if (watched != parentWidget() && event->type() == QEvent::MouseButtonPress) {
        const auto &press = static_cast<const QMouseEvent &>(*event);
        const QPointF at = mapFrom(window(), press.scenePosition()) - contentsRect().topLeft();
        if (pressAt(at, press.globalPosition().toPoint()))
            return true;
    }
    return QFrame::eventFilter(watched, event);
}

// The wheel pans, with Shift sideways; with Ctrl it zooms around the pointer.
void PictureBox::wheelEvent(QWheelEvent *event)
{
    if (!pansAndZooms() || m_shown.isNull())
        return QFrame::wheelEvent(event);
    const qreal ratio = m_view.ratio();
    if (event->modifiers() & Qt::ControlModifier) {
        m_wheelZoom += event->angleDelta().y();
        const QPointF anchor = (event->position() - m_viewRect.topLeft()) * ratio;
        qreal zoom = m_view.zoom();
        for (; m_wheelZoom >= WheelNotch; m_wheelZoom -= WheelNotch)
            zoom = PictureView::zoomedIn(zoom);
        for (; m_wheelZoom <= -WheelNotch; m_wheelZoom += WheelNotch)
            zoom = PictureView::zoomedOut(zoom, leastZoom());
        zoomTo(zoom, anchor);
        return event->accept();
    }
    QPointF delta = QPointF(event->pixelDelta()) * ratio;
    if (delta.isNull())
        delta = QPointF(event->angleDelta()) * QApplication::wheelScrollLines() * PanStep * ratio /
                WheelNotch;
    if ((event->modifiers() & Qt::ShiftModifier) && delta.x() == 0)
        delta = {delta.y(), 0};
    panBy(-delta.toPoint());
    event->accept();
}

// With the box focused: arrows step, Page Up and Down move a page, Home and End go to the
// picture's corners; Ctrl with +, - and 0 zooms around the view's centre, and Ctrl+1 to one
// picture pixel per device pixel. Shift with the arrows and Page keys moves the pick mark, and
// Space or Enter takes its pixel.
void PictureBox::keyPressEvent(QKeyEvent *event)
{
    if (!pansAndZooms() || m_shown.isNull())
        return QFrame::keyPressEvent(event);
    const int step = qRound(PanStep * m_view.ratio());
    const QSize page = m_view.viewSize();
    const QPointF centre = QPointF(page.width(), page.height()) / 2;
    if (event->modifiers() & Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            return zoomTo(PictureView::zoomedIn(m_view.zoom()), centre);
        case Qt::Key_Minus:
            return zoomTo(PictureView::zoomedOut(m_view.zoom(), leastZoom()), centre);
        case Qt::Key_0:
            return zoomTo(1, centre);
        case Qt::Key_1:
            return zoomTo(1 / m_view.ratio(), centre, true);
        default:
            return QFrame::keyPressEvent(event);
        }
    }
    if (const QPoint cells = markStep(*event); !cells.isNull())
        return moveMark(cells);
    switch (event->key()) {
    case Qt::Key_Left:
        return panBy({-step, 0});
    case Qt::Key_Right:
        return panBy({step, 0});
    case Qt::Key_Up:
        return panBy({0, -step});
    case Qt::Key_Down:
        return panBy({0, step});
    case Qt::Key_PageUp:
        return panBy({0, -page.height()});
    case Qt::Key_PageDown:
        return panBy({0, page.height()});
    case Qt::Key_Home:
        return panTo({0, 0});
    case Qt::Key_End:
        return panTo(m_view.maxOffset());
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return takeMark();
    default:
        return QFrame::keyPressEvent(event);
    }
}

}  // namespace vantok
