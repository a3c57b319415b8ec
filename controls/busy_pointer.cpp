// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/busy_pointer.h"

namespace vantok
{

BusyPointer::BusyPointer(QWidget *window) : m_window(window)
{
    if (m_window)
        m_window->setCursor(Qt::WaitCursor);
}

BusyPointer::~BusyPointer()
{
    if (m_window)
        m_window->unsetCursor();
}

}  // namespace vantok
