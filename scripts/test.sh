#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, checks the formatting and the include direction, builds once and runs
# every CTest test: unit, widget and end-to-end. The end-to-end tests get an Xvfb display of their
# own, stopped again on exit.
#   ./scripts/test.sh          the run above
#   ./scripts/test.sh --full   also builds the benchmarks, runs the unit and widget tests under
#                              the sanitizers, fuzzes each target for a bounded time, tests the
#                              Debian package, and cross-builds for Windows and tests that under
#                              Wine (what CI runs; VANTOK_WINDOWS_TESTS=0 leaves Windows out)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

FULL=""
case "${1:-}" in
    "") ;;
    --full) FULL=yes ;;
    *)
        echo "usage: $0 [--full]" >&2
        exit 2
        ;;
esac

# The Wayland grab test's session: sway, the portal with its wlroots backend (which needs PipeWire
# and grim), and a portal that offers the access dialog, without which no screenshots are offered.
TEST_PACKAGES=(xvfb xauth xdotool x11-utils imagemagick xclip desktop-file-utils appstream
    qt6-wayland weston dbus-daemon at-spi2-core python3-pyatspi sway xdg-desktop-portal
    xdg-desktop-portal-wlr xdg-desktop-portal-gtk pipewire grim)
# Only --full needs these; fuzz.sh installs clang itself.
FULL_PACKAGES=("${PACKAGING_PACKAGES[@]}")

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" ${FULL:+"${FULL_PACKAGES[@]}"}

echo "== Formatting and include direction"
"$ROOT/scripts/check-format.sh"
"$ROOT/scripts/check-includes.sh"

# The end-to-end tests spend their time waiting on the display, not on the processors: they start
# as soon as the programs they drive are built and run while the rest builds. Their report follows
# the other tests'. setsid gives them a process group, so an early exit stops all of them.
echo "== Build"
configure_vantok
cmake --build "$BUILD" --target vantok_e2e_programs
start_xvfb 90 140
E2E_LOG="$BUILD/e2e-tests.log"
(cd "$BUILD" && VANTOK_E2E_DISPLAY="$XVFB_DISPLAY" exec setsid ctest --output-on-failure -j2 -L e2e \
    >"$E2E_LOG" 2>&1) &
E2E_PID=$!
trap 'kill -- -$E2E_PID 2>/dev/null || true; kill $XVFB_PID 2>/dev/null || true' EXIT
echo "End-to-end tests started on $XVFB_DISPLAY"
cmake --build "$BUILD"

echo "== Tests"
status=0
(cd "$BUILD" && ctest --output-on-failure -j"$(nproc)" -LE 'e2e|package') || status=1
echo "== End-to-end tests"
wait "$E2E_PID" || status=1
cat "$E2E_LOG"
[ "$status" -eq 0 ] || exit 1
[ -n "$FULL" ] || exit 0

# ---- --full ---------------------------------------------------------------------------------------
if grep -q '^build bench/all:' "$BUILD/build.ninja"; then
    echo "== Benchmarks' build"
    cmake --build "$BUILD" --target bench/all
fi

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

echo "== Debian package"
(cd "$BUILD" && VANTOK_PACKAGE_TEST=1 VANTOK_E2E_DISPLAY="$XVFB_DISPLAY" \
    ctest --output-on-failure -L package)

# The Windows build: scripts/windows.sh makes vantok.exe and both packages (the static Qt it needs
# comes from the cache after the first run), then the tests chosen for Windows run under Wine, the
# end-to-end ones on the display above.
[ "${VANTOK_WINDOWS_TESTS:-1}" != 0 ] || exit 0
echo "== Windows"
windows_started=$SECONDS
"$ROOT/scripts/windows.sh"
source "$ROOT/scripts/windows-common.sh"
build_windows_qt
build_windows_vantok
(cd "$WINDOWS_BUILD" && ctest --output-on-failure -j"$(nproc)" -LE e2e) || status=1
(cd "$WINDOWS_BUILD" && VANTOK_E2E_DISPLAY="$XVFB_DISPLAY" ctest --output-on-failure -L e2e) ||
    status=1
# The tests keep one wineserver and Wine's services running for quick starts; none outlives them.
WINEPREFIX="${VANTOK_WINEPREFIX:-$CACHE_DIR/wine-prefix}" /usr/lib/wine/wineserver -k 2>/dev/null ||
    true
echo "Windows build and tests: $((SECONDS - windows_started)) s"
exit "$status"
