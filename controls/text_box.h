// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace vantok
{

// A single-line text box whose every text setting raises `changed`, synchronously: a keystroke,
// a paste, and a setText from code, even when the new text equals the old one. Dragged files are
// no text for it: a drag carrying URLs passes on to the window under the box.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    // Hides QLineEdit::setText, which stays silent when the text does not change.
    void setText(const QString &text);

signals:
    void changed();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

}  // namespace vantok
