// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

class QScreen;

namespace vantok
{

class Loupe;

// One monitor's part of a picture of the desktop, shown full screen on that monitor at one
// picture pixel per device pixel, so that it looks exactly as the screen did. It reports the
// device pixel under the pointer, floor(position × ratio) as the compositor places the pointer,
// and shows the loupe there.
class FrozenScreen : public QWidget
{
    Q_OBJECT

public:
    FrozenScreen(const QImage &desktop, QRect part, QScreen *screen);

    QRect part() const { return m_part; }
    // Shows the loupe at the desktop picture's pixel `pixel`, which lies in this screen's part.
    void showLoupe(QPoint pixel);
    void hideLoupe();
    // Puts the pointer as near `pixel` as the window system allows.
    void movePointerTo(QPoint pixel);

signals:
    // The pointer is over `pixel` of the desktop picture.
    void pointed(QPoint pixel);
    void pressed(QPoint pixel);
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPoint pixelAt(const QMouseEvent &event) const;
    QPoint logicalOf(QPoint pixel) const;

    QImage m_desktop;
    QRect m_part;
    Loupe *m_loupe;
    QPoint m_loupePixel;
    // Where the keys last put the pointer, in global coordinates, and the pixel they chose there.
    QPoint m_warpedTo{-1, -1};
    QPoint m_keysPixel;
};

}  // namespace vantok
