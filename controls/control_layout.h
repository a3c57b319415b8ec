// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1StringView>
#include <QRect>
#include <QWidget>

#include <span>
#include <utility>

class QColor;

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

// Creates a control as a direct child of `window`, named as the layout table names it.
template<typename Control, typename... Args>
Control *namedControl(QWidget *window, const char *name, Args &&...args)
{
    auto *control = new Control(std::forward<Args>(args)..., window);
    control->setObjectName(QLatin1StringView(name));
    return control;
}

// Fills a window's or control's background with one colour.
void setBackColor(QWidget *widget, const QColor &colour);

// Places the named children of `window` as the table says. The table lists the controls from
// the top of the stacking order down; the tab order follows ascending tab indices.
void applyLayout(QWidget *window, std::span<const ControlPlace> topFirst);

}  // namespace vantok
