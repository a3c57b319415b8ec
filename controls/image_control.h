// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QImage>

namespace vantok
{

// An image control: a one-pixel flat border around a picture stretched to fill the inner area.
// It only shows; it takes no focus and has no mouse handler.
class ImageControl : public QFrame
{
    Q_OBJECT

public:
    explicit ImageControl(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
    mutable QImage m_stretched;  // the picture scaled once for the current size
};

}  // namespace vantok
