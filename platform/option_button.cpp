// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/option_button.h"

namespace vantok
{

OptionButton::OptionButton(const QString &caption, QWidget *parent) : QRadioButton(caption, parent)
{
    // The designed buttons are 33 pixels wide: keep the caption beside the indicator readable.
    setStyleSheet(QStringLiteral("QRadioButton { spacing: 3px; }"));
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
