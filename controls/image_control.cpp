// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/image_control.h"

#include <QPainter>

namespace vantok
{

ImageControl::ImageControl(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ImageControl::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_stretched = {};
    update();
}

void ImageControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    if (m_picture.isNull())
        return;
    const QRect inner = contentsRect();
    const QSize deviceSize = inner.size() * devicePixelRatioF();
    if (m_stretched.size() != deviceSize) {
        m_stretched = m_picture.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_stretched.setDevicePixelRatio(devicePixelRatioF());
    }
    painter.drawImage(inner.topLeft(), m_stretched);
}

}  // namespace vantok
