// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the fuzz targets' entry points.

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace vantok::fuzz
{

// Damaged input makes Qt's decoders warn on every run; only a fatal message is worth seeing.
inline void silenceQtWarnings()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
}

// A broken check is a finding like a crash: abort, so the fuzzer keeps the input.
inline int abortWhenBroken(const std::optional<QString> &broken)
{
    if (broken) {
        std::fprintf(stderr, "BROKEN: %s\n", qPrintable(*broken));
        std::abort();
    }
    return 0;
}

}  // namespace vantok::fuzz
