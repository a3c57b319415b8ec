// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPoint>
#include <QStringList>
#include <QWidget>

namespace vantok
{

// A magnified neighbourhood of one pixel of a picture, with that pixel outlined, and a few lines
// of text under it. The outline lies around the pixel's square, never over it, and what the loupe
// shows is drawn from the picture, never read back from the screen.
class Loupe : public QWidget
{
    Q_OBJECT

public:
    // Pixels across and down, the one told in the middle.
    static constexpr int Span = 15;
    // Logical pixels each picture pixel takes: at least three device pixels at any scale.
    static constexpr int Cell = 8;

    explicit Loupe(QWidget *parent = nullptr);

    // Lines of text it has room for.
    static constexpr int MostLines = 5;

    // Shows `picture` around `pixel`, which may lie outside it near an edge, and `lines` under it.
    // Pixels with alpha show over `back`. The picture is shared, not copied.
    void showPixel(const QImage &picture, QPoint pixel, const QStringList &lines,
                   const QColor &back = Qt::black);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int textHeight() const;

    QImage m_picture;
    QPoint m_pixel;
    QStringList m_lines;
    QColor m_back;
};

// What the loupe says of a pixel: where it is, then its colour as #RRGGBB and as R, G, B.
QStringList pixelLines(QPoint at, QRgb colour);
// The same for a picture's pixel drawn as `drawn`; below full alpha, also what it stores.
QStringList storedPixelLines(QPoint at, QRgb drawn, QRgb stored);

}  // namespace vantok
