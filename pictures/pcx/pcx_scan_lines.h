// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

#include <vector>

namespace vantok::pcx
{

// Hands out the pixel data one scan line (all planes) at a time, expanding RLE when asked. A run
// that reaches past the end of a line carries on into the next one, as some writers produce.
class ScanLines
{
public:
    ScanLines(QByteArrayView data, bool rle, qsizetype lineBytes);

    // The next line, valid until the following call; null when the data ends first.
    const uchar *next();

private:
    bool nextRaw();
    bool nextRle();

    QByteArrayView data_;
    bool rle_;
    qsizetype lineBytes_;
    std::vector<uchar> line_;  // one line plus room for the longest run to overshoot
    qsizetype read_ = 0;
    uchar runValue_ = 0;
    qsizetype runLeft_ = 0;
};

}  // namespace vantok::pcx
