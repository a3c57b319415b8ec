// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

class QMimeData;

namespace vantok
{

// The image on the system clipboard, in any format it offers that Qt decodes; a null image when
// it holds none, cannot be read, or holds one larger than the program's picture size limit.
QImage clipboardPicture();
// The same from clipboard content: encoded pictures go through the picture loader, decoders and
// limits alike; one handed over already decoded is taken when it fits the limit.
QImage clipboardPicture(const QMimeData *data);

}  // namespace vantok
