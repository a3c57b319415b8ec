// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screen_grab/screen_source.h"

namespace vantok
{

// Reads the X server's root window, screen by screen, at its device pixels.
class X11ScreenSource : public ScreenSource
{
    Q_OBJECT

public:
    void grab() override;

private:
    void grabNow();

    bool m_busy = false;
};

}  // namespace vantok
