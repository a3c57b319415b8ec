// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

class QLabel;
class QScrollBar;
class QWidget;

namespace vantok
{

// The zoom as the user reads it: "800%", "25%", "3.3%".
QString zoomPercent(qreal zoom);

// The scroll bars and the zoom factor a picture box shows inside its border while its picture is
// zoomed or larger than its room: a vertical bar down the right, and along the bottom a strip with
// the horizontal bar and the zoom in its corner. None takes the focus, so the box keeps the keys.
class ViewControls : public QObject
{
    Q_OBJECT

public:
    explicit ViewControls(QWidget *box);

    // How thick a bar, and so the bottom strip, is.
    int extent() const;
    // How wide the zoom's corner is: room for the largest factor, or for `zoom` when wider.
    int cornerWidth(const QString &zoom) const;

    // Lays the controls out in the box's inner area, the bars shown as asked.
    void show(QRect inner, bool horizontal, bool vertical, const QString &zoom);
    void hide();
    bool isShown() const;
    // The bottom strip's part the horizontal bar would take while it is hidden: the box paints it.
    QRect bareStrip() const;

    // Lets `filter` see the bars' events first.
    void filterBarEvents(QObject *filter);

    // Where the bars stand: `offset` of `most`, a view of `page` device pixels, arrows by `step`.
    void setPosition(QPoint offset, QPoint most, QSize page, int step);

signals:
    // A bar moved to `value`, by the user or by `setPosition`.
    void scrolled(Qt::Orientation orientation, int value);

private:
    QScrollBar *m_horizontal;
    QScrollBar *m_vertical;
    QLabel *m_zoom;
};

}  // namespace vantok
