// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/screen_layout.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>

namespace vantok
{

class FrozenScreen;

// A picture of the desktop, held still over every monitor, to take one pixel from: a press with
// any mouse button, Enter or Space takes the pixel under the pointer; the arrow keys move it by
// one device pixel, with Shift by ten; Escape leaves. Either way the windows close and one signal
// says how it ended.
class ScreenPicker : public QObject
{
    Q_OBJECT

public:
    ScreenPicker(const QImage &desktop, const QList<ScreenPart> &parts);
    ~ScreenPicker() override;

    // Opens the frozen windows, the pointer's one active.
    void show();

signals:
    // `pixel` of the desktop picture was taken.
    void taken(QPoint pixel);
    void cancelled();

private:
    void point(QPoint pixel);
    void key(int key, Qt::KeyboardModifiers modifiers);
    void close();
    FrozenScreen *screenOf(QPoint pixel) const;

    QList<QPointer<FrozenScreen>> m_screens;
    QPoint m_pixel;
};

}  // namespace vantok
