// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/pcx/pcx_scan_lines.h"

#include <algorithm>
#include <cstring>

namespace vantok::pcx
{

namespace
{
constexpr uchar RunMark = 0xC0;
constexpr qsizetype LongestRun = 63;
constexpr qsizetype ShortRun = 16;
}  // namespace

ScanLines::ScanLines(QByteArrayView data, bool rle, qsizetype lineBytes)
    : data_(data), rle_(rle), lineBytes_(lineBytes), line_(lineBytes + LongestRun)
{
}

const uchar *ScanLines::next()
{
    return (rle_ ? nextRle() : nextRaw()) ? line_.data() : nullptr;
}

bool ScanLines::nextRaw()
{
    if (data_.size() - read_ < lineBytes_)
        return false;
    std::memcpy(line_.data(), data_.data() + read_, lineBytes_);
    read_ += lineBytes_;
    return true;
}

bool ScanLines::nextRle()
{
    const auto *in = reinterpret_cast<const uchar *>(data_.data());
    const qsizetype end = data_.size();
    uchar *out = line_.data();
    qsizetype left = lineBytes_;
    qsizetype at = read_;  // kept in locals: stores through out may alias any member
    uchar value = runValue_;

    const qsizetype carried = std::min(runLeft_, left);
    std::memset(out, value, carried);
    out += carried;
    left -= carried;
    runLeft_ -= carried;

    // Both bytes of a code are in reach and a run may overshoot into the spare room, so literals
    // and short runs need no branch of their own.
    while (left > 0 && at + 1 < end) {
        const int code = in[at];
        const int run = (code & RunMark) == RunMark;                // 0 or 1, used as a number
        value = in[at + run];                                       // a literal is its own value
        const qsizetype count = 1 + run * ((code & ~RunMark) - 1);  // a literal counts once
        at += 1 + run;
        if (count <= ShortRun)
            std::memset(out, value, ShortRun);
        else
            std::memset(out, value, count);
        out += count;
        left -= count;
    }
    if (left == 1 && at + 1 == end && (in[at] & RunMark) != RunMark) {
        *out = in[at++];  // a literal as the very last byte
        left = 0;
    }
    read_ = at;
    runValue_ = value;
    if (left < 0)
        runLeft_ = -left;  // the overshoot belongs to the next line
    return left <= 0;
}

}  // namespace vantok::pcx
