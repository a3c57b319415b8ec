// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/wrapped_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>

namespace vantok
{

WrappedButton::WrappedButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
}

// Wraps the caption at blanks, then centres each line without its own leading and trailing
// blanks: runs of blanks steer the breaks but never push a line off centre.
void WrappedButton::drawCentredLines(QPainter &painter, const QRect &area) const
{
    QTextLayout layout(text(), font());
    QTextOption wrap(Qt::AlignLeft);
    wrap.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(wrap);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        const QString part = text().mid(line.textStart(), line.textLength()).trimmed();
        if (!part.isEmpty())
            lines << part;
    }
    layout.endLayout();
    painter.drawText(area, Qt::AlignCenter, lines.join(u'\n'));
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
    drawCentredLines(painter, textArea);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = textArea.adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

}  // namespace vantok
