// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/option_button.h"

namespace vantok
{

OptionButton::OptionButton(const QString &caption, QWidget *parent) : QRadioButton(caption, parent)
{
    // Qt clears the partner before it reports the new selection, so the handler sees it switched.
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            emit clicked();
    });
}

void OptionButton::setValue(bool selected)
{
    setChecked(selected);
}

}  // namespace vantok
