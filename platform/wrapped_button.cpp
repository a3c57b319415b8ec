// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wrapped_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace vantok
{

WrappedButton::WrappedButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
}

void WrappedButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();  // the face only; the caption is drawn wrapped below
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRect textArea = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(textArea, Qt::AlignCenter | Qt::TextWordWrap, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = textArea.adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

}  // namespace vantok
