// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

// Counts the paint events a widget receives, so a benchmark can wait for the repaint it caused.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *watched) { watched->installEventFilter(this); }
    int count() const { return m_count; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_count;
        return false;
    }

private:
    int m_count = 0;
};

// Sends `event` to `target`, then delivers pending events until `paints` counts one more paint;
// false when none came.
inline bool sentUntilPainted(QWidget *target, QEvent &event, const PaintCounter &paints)
{
    const int before = paints.count();
    QCoreApplication::sendEvent(target, &event);
    for (int round = 0; round < 100 && paints.count() == before; ++round)
        QCoreApplication::processEvents();
    return paints.count() > before;
}
