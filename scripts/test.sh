#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, checks the formatting and the include direction, builds and runs every
# test through CTest.
# The end-to-end tests get an Xvfb display of their own, stopped again on exit.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

TEST_PACKAGES=(xvfb xauth xdotool x11-utils imagemagick xclip desktop-file-utils appstream
    qt6-wayland weston clang libclang-rt-14-dev)

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

echo "== Formatting and include direction"
"$ROOT/scripts/check-format.sh"
"$ROOT/scripts/check-includes.sh"

echo "== Build"
build_vantok

echo "== Tests"
start_xvfb 90 140

cd "$BUILD"
VANTOK_E2E_DISPLAY="$XVFB_DISPLAY" ctest --output-on-failure -j"$(nproc)"

# ---- Sanitizers and fuzzing ----------------------------------------------------------------------
# The unit and widget tests once more, built with AddressSanitizer and UndefinedBehaviorSanitizer
# (at -O1, leak checking on), then every fuzz target for a bounded time; VANTOK_FUZZ_SECONDS sets
# it per target (default 15, 0 skips the fuzzing).
echo "== Sanitizers"
ASAN_BUILD="$ROOT/build-asan"
if [ ! -f "$ASAN_BUILD/build.ninja" ]; then
    cmake -S "$ROOT" -B "$ASAN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DVANTOK_SANITIZE=ON -DVANTOK_BENCHMARKS=OFF
fi
cmake --build "$ASAN_BUILD"
(cd "$ASAN_BUILD" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure -j"$(nproc)" -L 'unit|widget')

if [ "${VANTOK_FUZZ_SECONDS:-15}" -gt 0 ]; then
    echo "== Fuzzing"
    "$ROOT/scripts/fuzz.sh" "${VANTOK_FUZZ_SECONDS:-15}"
fi
