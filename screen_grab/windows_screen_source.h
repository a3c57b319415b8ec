// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screen_grab/screen_source.h"

namespace vantok
{

// Copies the virtual screen, every monitor, through GDI. The program is per-monitor DPI aware,
// so GDI's pixels are device pixels.
class WindowsScreenSource : public DirectScreenSource
{
    Q_OBJECT

private:
    void grabNow() override;
};

}  // namespace vantok
