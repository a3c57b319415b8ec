// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text_box.h"

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

}  // namespace vantok
