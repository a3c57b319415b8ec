// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

namespace vantok
{

// The image on the system clipboard, in any format it offers that Qt decodes; a null image when
// it holds none, cannot be read, or holds one larger than the program's picture size limit.
QImage clipboardPicture();

}  // namespace vantok
