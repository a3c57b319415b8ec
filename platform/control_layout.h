// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

#include <span>

class QWidget;

namespace vantok
{

// A control's place in twips, the unit the windows were designed in (15 twips = 1 pixel).
struct Place {
    int left, top, width, height;
    static constexpr int TwipsPerPixel = 15;
    constexpr QRect pixels() const
    {
        return {left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel,
                height / TwipsPerPixel};
    }
};

inline constexpr int NoTabStop = -1;

// One row of a window's layout table: which child, where, and its place in the tab order.
struct ControlPlace {
    const char *name;
    Place place;
    int tabIndex;
};

// Places the named children of `window` as the table says. The table lists the controls from
// the top of the stacking order down; the tab order follows ascending tab indices.
void applyLayout(QWidget *window, std::span<const ControlPlace> topFirst);

}  // namespace vantok
