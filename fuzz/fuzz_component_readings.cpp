// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/fuzz_target.h"
#include "testsupport/text_entries.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return vantok::fuzz::abortWhenBroken(vantok::fuzz::brokenComponentReading(
        {reinterpret_cast<const char *>(data), qsizetype(size)}));
}
