// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/text_box.h"

#include <QDropEvent>
#include <QMimeData>

#include <limits>

namespace vantok
{

TextBox::TextBox(QWidget *parent) : QLineEdit(parent)
{
    setMaxLength(std::numeric_limits<int>::max());  // no length limit
    connect(this, &QLineEdit::textChanged, this, &TextBox::changed);
}

void TextBox::setText(const QString &text)
{
    if (text == QLineEdit::text())
        emit changed();
    else
        QLineEdit::setText(text);
}

void TextBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->ignore();
    else
        QLineEdit::dragEnterEvent(event);
}

void TextBox::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->ignore();
    else
        QLineEdit::dragMoveEvent(event);
}

void TextBox::dropEvent(QDropEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->ignore();
    else
        QLineEdit::dropEvent(event);
}

}  // namespace vantok
