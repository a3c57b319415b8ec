// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace vantok
{

// A device-independent bitmap as the Windows clipboard holds it (CF_DIB: the info header, any
// masks and palette, the pixels) made a BMP file for the picture loader. Empty when the header is
// too short to tell where the pixels start.
QByteArray bmpFileFromDib(const QByteArray &dib);

}  // namespace vantok
