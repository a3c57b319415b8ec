// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace vantok
{

// A single-line text box whose every text setting raises `changed`, synchronously: a keystroke,
// a paste, and a setText from code, even when the new text equals the old one.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    // Hides QLineEdit::setText, which stays silent when the text does not change.
    void setText(const QString &text);

signals:
    void changed();
};

}  // namespace vantok
