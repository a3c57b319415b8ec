// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QComboBox;
class QString;

namespace vantok
{

// Gives screen readers the roles Qt cannot guess for the platform's controls: picture boxes and
// image controls are images rather than frames, and a window built on a plain QWidget is a window
// rather than a filler. Call once the application exists; later calls change nothing.
void installAccessibleRoles();

// Names a drop-down list for screen readers. Qt on Linux reads a combo box's current item as its
// name and takes what the box is from a label that has it as buddy, so a hidden label beside it
// carries the name; nothing is drawn.
void nameComboBox(QComboBox *box, const QString &name);

}  // namespace vantok
