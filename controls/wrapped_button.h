// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace vantok
{

// A command button whose caption is wrapped over several centred lines inside the button face.
class WrappedButton : public QPushButton
{
    Q_OBJECT

public:
    explicit WrappedButton(const QString &caption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawCentredLines(QPainter &painter, const QRect &area) const;
};

}  // namespace vantok
