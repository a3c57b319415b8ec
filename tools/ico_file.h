// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/icon_source.h"

#include <QByteArray>

namespace vantok
{

// An ICO file holding the images in order, each a 4-bit bitmap with the standard palette and
// a 1-bit mask. Transparent pixels get index 0 under a set mask bit, so they show nothing
// but the background.
QByteArray icoFile(const QList<IconSource> &images);

}  // namespace vantok
