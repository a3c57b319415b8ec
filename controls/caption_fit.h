// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAbstractButton;

namespace vantok
{

// Draws the caption closer to the indicator and, where it still does not fit the button's
// designed width, shrinks the font a pixel at a time (not below 9 pixels): captions measured for
// a narrower font stay whole instead of being cut off.
void fitCaptionToWidth(QAbstractButton *button);

}  // namespace vantok
