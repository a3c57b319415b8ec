// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/screen_layout.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

namespace vantok
{

// Why a picture of the screen could not be had.
enum class GrabFailure {
    Unsupported,  // this platform offers no way to read the screen
    Unavailable,  // the service that would read it is not there
    Refused,      // the system would not give it
    Cancelled,    // the user said no
    TimedOut,     // no answer in time
    Failed,       // anything else
};

// Takes one picture of the whole screen, every monitor, in device pixels. Each platform has one
// source; `chooseScreenSource` picks it. A grab is asynchronous and answers with exactly one of
// the two signals, never from inside `grab` itself.
class ScreenSource : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts a grab; a second call while one is under way is ignored.
    virtual void grab() = 0;

signals:
    // The desktop's picture and where each screen lies in it.
    void grabbed(const QImage &desktop, const QList<ScreenPart> &parts);
    // `reason` is one line the user can read.
    void failed(GrabFailure kind, const QString &reason);
};

// A source that reads the screen at once, on the event loop's next turn, so that it still
// answers after `grab` has returned.
class DirectScreenSource : public ScreenSource
{
    Q_OBJECT

public:
    using ScreenSource::ScreenSource;
    void grab() final;

protected:
    // Reads the screen and raises one of the two signals.
    virtual void grabNow() = 0;

private:
    bool m_busy = false;
};

// The screens as Qt places them now.
QList<ScreenPlace> screenPlaces();

// The source for the platform Qt runs on (X11, Wayland, Windows, or none that can read the
// screen); it says in the log which it chose.
std::unique_ptr<ScreenSource> chooseScreenSource();

}  // namespace vantok
