// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRadioButton>

namespace vantok
{

// An option button of a group: selecting it clears its partners, and `clicked` is raised on the
// newly selected button only when the selection changes, whether the user or code selects it.
class OptionButton : public QRadioButton
{
    Q_OBJECT

public:
    explicit OptionButton(const QString &caption, QWidget *parent = nullptr);

    bool value() const { return isChecked(); }
    void setValue(bool selected);

signals:
    // Hides QAbstractButton::clicked, which fires on every click, changed selection or not.
    void clicked();
};

}  // namespace vantok
