// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace vantok
{

class SampleChart;

// The chart as a 24-bit BMP file: rows bottom up, blue-green-red, each padded to 4 bytes.
QByteArray chartBitmap(const SampleChart &chart);

}  // namespace vantok
