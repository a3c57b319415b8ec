// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/view_controls.h"

#include <QLabel>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vantok
{

QString zoomPercent(qreal zoom)
{
    const qreal percent = zoom * 100;
    const QString number =
        percent >= 10 ? QString::number(qRound(percent)) : QString::number(percent, 'g', 2);
    return number + u'%';
}

ViewControls::ViewControls(QWidget *box)
    : QObject(box), m_horizontal(new QScrollBar(Qt::Horizontal, box)),
      m_vertical(new QScrollBar(Qt::Vertical, box)), m_zoom(new QLabel(box))
{
    for (QScrollBar *bar : {m_horizontal, m_vertical}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
    }
    for (QScrollBar *bar : {m_horizontal, m_vertical}) {
        connect(bar, &QScrollBar::valueChanged, this,
                [this, bar](int value) { emit scrolled(bar->orientation(), value); });
    }
    m_zoom->setAlignment(Qt::AlignCenter);
    m_zoom->setAutoFillBackground(true);
    m_zoom->hide();
}

int ViewControls::extent() const
{
    return m_zoom->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

int ViewControls::cornerWidth(const QString &zoom) const
{
    const QFontMetrics metrics = m_zoom->fontMetrics();
    const int text =
        std::max(metrics.horizontalAdvance(u"6400%"_s), metrics.horizontalAdvance(zoom));
    return std::max(text + 6, extent());
}

void ViewControls::show(QRect inner, bool horizontal, bool vertical, const QString &zoom)
{
    const int thick = extent();
    const int corner = cornerWidth(zoom);
    const int strip = inner.bottom() - thick + 1;
    m_vertical->setGeometry(inner.right() - thick + 1, inner.top(), thick, inner.height() - thick);
    m_horizontal->setGeometry(inner.left(), strip, inner.width() - corner, thick);
    m_zoom->setGeometry(inner.right() - corner + 1, strip, corner, thick);
    m_zoom->setText(zoom);
    m_vertical->setVisible(vertical);
    m_horizontal->setVisible(horizontal);
    m_zoom->show();
}

void ViewControls::hide()
{
    m_vertical->hide();
    m_horizontal->hide();
    m_zoom->hide();
}

bool ViewControls::isShown() const
{
    return !m_zoom->isHidden();
}

QRect ViewControls::bareStrip() const
{
    return isShown() && m_horizontal->isHidden() ? m_horizontal->geometry() : QRect();
}

void ViewControls::filterBarEvents(QObject *filter)
{
    m_horizontal->installEventFilter(filter);
    m_vertical->installEventFilter(filter);
}

void ViewControls::setPosition(QPoint offset, QPoint most, QSize page, int step)
{
    m_horizontal->setRange(0, most.x());
    m_horizontal->setPageStep(page.width());
    m_horizontal->setSingleStep(step);
    m_horizontal->setValue(offset.x());
    m_vertical->setRange(0, most.y());
    m_vertical->setPageStep(page.height());
    m_vertical->setSingleStep(step);
    m_vertical->setValue(offset.y());
}

}  // namespace vantok
