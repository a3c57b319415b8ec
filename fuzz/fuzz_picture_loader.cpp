// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/fuzz_target.h"
#include "testsupport/picture_entries.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    vantok::fuzz::silenceQtWarnings();
    vantok::applyPictureSizeLimit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return vantok::fuzz::abortWhenBroken(
        vantok::fuzz::brokenPictureLoad({reinterpret_cast<const char *>(data), qsizetype(size)}));
}
