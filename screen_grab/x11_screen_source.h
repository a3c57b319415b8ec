// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screen_grab/screen_source.h"

namespace vantok
{

// Reads the X server's root window, screen by screen, at its device pixels.
class X11ScreenSource : public DirectScreenSource
{
    Q_OBJECT

private:
    void grabNow() override;
};

}  // namespace vantok
