// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reads for picture decoders, sized by what a device holds rather than by what a header claims.

#include <QByteArray>
#include <QIODevice>

namespace vantok
{

inline constexpr qint64 ReadChunkBytes = 1 << 20;

// Reads in chunks so that a size taken from a header never turns into an allocation larger
// than what the device holds.
inline QByteArray readAtMost(QIODevice *in, qint64 limit)
{
    QByteArray bytes;
    if (!in->isSequential()) {
        limit = qBound<qint64>(0, in->size() - in->pos(), limit);  // no chunk larger than the rest
        bytes.reserve(limit);
    }
    while (bytes.size() < limit) {
        const qsizetype had = bytes.size();
        const qint64 wanted = qMin(limit - had, ReadChunkBytes);
        bytes.resize(had + wanted);
        const qint64 got = in->read(bytes.data() + had, wanted);
        bytes.resize(had + qMax<qint64>(got, 0));
        if (got <= 0)
            break;
    }
    return bytes;
}

// Fills `to` with exactly `count` bytes; false when the device ends first.
inline bool readExactly(QIODevice *in, char *to, qint64 count)
{
    while (count > 0) {
        const qint64 got = in->read(to, count);
        if (got <= 0)
            return false;
        to += got;
        count -= got;
    }
    return true;
}

}  // namespace vantok
