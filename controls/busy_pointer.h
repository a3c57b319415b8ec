// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

namespace vantok
{

// Shows the hourglass over one window for the guard's lifetime; every return path restores it.
class BusyPointer
{
public:
    explicit BusyPointer(QWidget *window);
    ~BusyPointer();
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    QPointer<QWidget> m_window;
};

}  // namespace vantok
