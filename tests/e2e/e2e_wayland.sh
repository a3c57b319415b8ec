#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Vantok on Wayland: starts weston's headless compositor on a private socket, starts the program
# with Qt's Wayland platform, and checks that its window was configured by the compositor and
# painted (VANTOK_REPORT_FIRST_PAINT reports the first flushed frame), that it stays up, and that
# it ends on SIGTERM. The program installs no signal handlers, so ending by the signal itself
# (status 143, nothing on stderr) is the clean end; a crash, a hang or a complaint fails.
# Exits 77 (skipped) when weston or the Wayland plugin is missing or weston cannot start.
set -euo pipefail

VANTOK="$(realpath "${1:?path to the vantok program}")"
if ! command -v weston >/dev/null; then
    echo "SKIP: weston is not installed"
    exit 77
fi

WORK="$(mktemp -d)"
RUNTIME="$WORK/runtime"
mkdir -m 0700 "$RUNTIME"
SOCKET="vantok-test-$$"
WESTON_PID=""
VANTOK_PID=""
cleanup() {
    [ -n "$VANTOK_PID" ] && kill -9 "$VANTOK_PID" 2>/dev/null || true
    [ -n "$WESTON_PID" ] && kill "$WESTON_PID" 2>/dev/null && wait "$WESTON_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    echo "--- vantok's stderr:" >&2
    cat "$WORK/vantok.err" >&2 2>/dev/null || true
    exit 1
}

export XDG_RUNTIME_DIR="$RUNTIME"
unset DISPLAY
weston --backend=headless-backend.so --socket="$SOCKET" --idle-time=0 >"$WORK/weston.log" 2>&1 &
WESTON_PID=$!
for _ in $(seq 50); do
    [ -S "$RUNTIME/$SOCKET" ] && break
    kill -0 "$WESTON_PID" 2>/dev/null || break
    sleep 0.1
done
if [ ! -S "$RUNTIME/$SOCKET" ]; then
    echo "SKIP: weston did not start:"
    tail -5 "$WORK/weston.log"
    exit 77
fi

# The Wayland logging category names the steps: the shell integration in use and the compositor's
# first configure of the window, before which the window is not exposed.
(cd "$WORK" && WAYLAND_DISPLAY="$SOCKET" QT_QPA_PLATFORM=wayland VANTOK_REPORT_FIRST_PAINT=1 \
    QT_LOGGING_RULES='qt.qpa.wayland.debug=true' LC_ALL=C.UTF-8 exec "$VANTOK" 2>"$WORK/vantok.err") &
VANTOK_PID=$!

painted=""
for _ in $(seq 100); do
    grep -q '^first-paint-us ' "$WORK/vantok.err" && painted=yes && break
    kill -0 "$VANTOK_PID" 2>/dev/null || break
    sleep 0.1
done
if grep -q 'Could not load the Qt platform plugin' "$WORK/vantok.err"; then
    echo "SKIP: Qt's Wayland platform plugin is not installed (qt6-wayland)"
    exit 77
fi
[ -n "$painted" ] || fail "no frame was painted within 10 s"
grep -q "Using the 'xdg-shell' shell integration" "$WORK/vantok.err" ||
    fail "the window did not use the xdg-shell integration"
grep -q 'Applied pending xdg_toplevel configure event' "$WORK/vantok.err" ||
    fail "the compositor never configured the window"

sleep 2
kill -0 "$VANTOK_PID" 2>/dev/null || fail "the program ended on its own within 2 s of its first frame"

kill -TERM "$VANTOK_PID"
status=""
for _ in $(seq 50); do
    if ! kill -0 "$VANTOK_PID" 2>/dev/null; then
        wait "$VANTOK_PID" && status=0 || status=$?
        break
    fi
    sleep 0.1
done
[ -n "$status" ] || fail "still running 5 s after SIGTERM"
VANTOK_PID=""
[ "$status" -eq 143 ] || [ "$status" -eq 0 ] || fail "ended with status $status after SIGTERM"
if grep -vE '^(qt\.qpa\.wayland|first-paint-us |QStandardPaths)' "$WORK/vantok.err" | grep -q .; then
    fail "unexpected messages on stderr"
fi
echo "PASS: Vantok comes up on Wayland and ends on SIGTERM (status $status)"
