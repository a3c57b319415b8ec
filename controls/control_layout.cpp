// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/control_layout.h"

#include <QWidget>

#include <algorithm>
#include <vector>

namespace vantok
{

void setBackColor(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void applyLayout(QWidget *window, std::span<const ControlPlace> topFirst)
{
    std::vector<std::pair<int, QWidget *>> tabStops;
    for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it) {
        auto *control =
            window->findChild<QWidget *>(QLatin1StringView(it->name), Qt::FindDirectChildrenOnly);
        Q_ASSERT_X(control, "applyLayout", it->name);
        if (!control)
            continue;
        control->setGeometry(it->place.pixels());
        control->raise();  // bottom first, so the table's first row ends on top
        if (it->tabIndex != NoTabStop && control->focusPolicy() != Qt::NoFocus)
            tabStops.emplace_back(it->tabIndex, control);
    }
    std::ranges::sort(tabStops, {}, &std::pair<int, QWidget *>::first);
    for (std::size_t i = 1; i < tabStops.size(); ++i)
        QWidget::setTabOrder(tabStops[i - 1].second, tabStops[i].second);
}

}  // namespace vantok
