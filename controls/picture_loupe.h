// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>

class QWidget;

namespace vantok
{

class Loupe;

// The loupe beside the pointer while a button is held on a picture: a small window of its own,
// kept whole on the pointer's screen and clear of the pointer, telling the pixel's place in the
// picture, its colour as drawn and, below full alpha, what it stores.
class PictureLoupe
{
public:
    explicit PictureLoupe(QWidget *box);

    void show(const QImage &picture, QPoint cell, QRgb drawn, const QColor &back, QPoint pointer);
    void hide();

private:
    Loupe *m_loupe;
};

}  // namespace vantok
