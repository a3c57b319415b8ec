// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Start-up measurement, shared by the program and the minimal window it is compared with. With
// VANTOK_REPORT_FIRST_PAINT=1 in the environment, prints "first-paint-us <t>" on stderr once the
// first top-level window has been painted and its backing store flushed to the windowing system;
// t is CLOCK_REALTIME in microseconds. The launcher reads the same clock just before it starts
// the process (bash's $EPOCHREALTIME) and takes the difference, so the figure covers exec,
// dynamic linking, static initialisation and the first frame. The process's own start time in
// /proc/self/stat is only kept in clock ticks (10 ms), too coarse for a start of ~100 ms.

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace vantok
{

class FirstPaintReport : public QObject
{
public:
    static void installIfAsked()
    {
        if (qEnvironmentVariableIntValue("VANTOK_REPORT_FIRST_PAINT") == 1)
            qApp->installEventFilter(new FirstPaintReport(qApp));
    }

protected:
    // The first frame is painted while Qt handles an Expose (or, on some platforms, a later
    // UpdateRequest); the filter delivers that event itself so the time stamp follows the flush.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            const auto *widget = qobject_cast<QWidget *>(watched);
            m_painted = m_painted || (widget && widget->isWindow());
            return false;
        }
        if (m_delivering ||
            (event->type() != QEvent::Expose && event->type() != QEvent::UpdateRequest))
            return false;
        m_delivering = true;
        QCoreApplication::sendEvent(watched, event);
        m_delivering = false;
        if (m_painted) {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::fprintf(stderr, "first-paint-us %lld\n",
                         static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000);
            std::fflush(stderr);
            qApp->removeEventFilter(this);
        }
        return true;
    }

private:
    using QObject::QObject;

    bool m_painted = false;
    bool m_delivering = false;
};

}  // namespace vantok
