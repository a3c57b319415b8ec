# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers for end-to-end tests that drive the real program on an X display with xdotool and read
# the screen back with ImageMagick. Exits 77 (skipped) when no display was provided.
set -euo pipefail

VANTOK="$(readlink -f "${1:?path to the vantok program}")"
export DISPLAY="${VANTOK_E2E_DISPLAY:-${DISPLAY:-}}"
if [ -z "$DISPLAY" ] || ! xdpyinfo >/dev/null 2>&1; then
    echo "SKIP: no X display (run through scripts/test.sh)"
    exit 77
fi
unset QT_QPA_PLATFORM
export LC_ALL=C.UTF-8

WORK="$(mktemp -d)"
VANTOK_PID=""
# A test that changes something outside $WORK defines test_cleanup to undo it, on success or failure.
cleanup() {
    [ "$(type -t test_cleanup)" = function ] && test_cleanup
    [ -n "$VANTOK_PID" ] && kill "$VANTOK_PID" 2>/dev/null || true
    # Clipboard owners and other helpers started in the background must not outlive the test.
    local jobs
    jobs="$(jobs -p)"
    [ -n "$jobs" ] && kill $jobs 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    import -window root "$WORK/failure.png" 2>/dev/null && echo "screen kept in $WORK/failure.png"
    trap - EXIT
    [ "$(type -t test_cleanup)" = function ] && test_cleanup
    [ -n "$VANTOK_PID" ] && kill "$VANTOK_PID" 2>/dev/null || true
    local jobs
    jobs="$(jobs -p)"
    [ -n "$jobs" ] && kill $jobs 2>/dev/null || true
    exit 1
}

# Starts the program in $WORK with the arguments after $1 and waits for the window titled $1 to
# show its first frame, the grey back colour in its top-left corner; sets WID, WIN_X, WIN_Y. Its
# standard error also goes to $WORK/stderr. VANTOK_RUNNER, when set, starts it (Wine).
start_vantok() {
    local title="$1"
    shift
    (cd "$WORK" && exec ${VANTOK_RUNNER:+"$VANTOK_RUNNER"} "$VANTOK" "$@" 2> >(tee "$WORK/stderr" >&2)) &
    VANTOK_PID=$!
    wait_window "$title"
    WID="$FOUND_WID"
    MAIN_WID="$WID"
    eval "$(xdotool getwindowgeometry --shell "$WID" | sed 's/^/WIN_/')"
    expect_pixel 2 2 "192,192,192" "the window's first frame"
}

# Waits up to 30 s (a loaded machine starts programs slowly) for a window with the exact title $1;
# sets FOUND_WID.
wait_window() {
    FOUND_WID=""
    for _ in $(seq 300); do
        FOUND_WID="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)"
        [ -n "$FOUND_WID" ] && return 0
        [ -z "$VANTOK_PID" ] || kill -0 "$VANTOK_PID" 2>/dev/null ||
            fail "the program ended before showing '$1'"
        sleep 0.1
    done
    fail "no window titled '$1' (the program is still running)"
}

# Prints the colour of the screen pixel at window coordinates x, y as "r,g,b".
pixel_at() {
    local x=$((WIN_X + $1)) y=$((WIN_Y + $2))
    import -window root -crop "1x1+$x+$y" -depth 8 txt:- |
        sed -n 's/.*#\([0-9A-Fa-f]\{2\}\)\([0-9A-Fa-f]\{2\}\)\([0-9A-Fa-f]\{2\}\).*/\1 \2 \3/p' |
        { read -r r g b; printf '%d,%d,%d\n' "0x$r" "0x$g" "0x$b"; }
}

# The program handles the click after the events sent before it and before those sent after it:
# the display queues them in order. What the click changes is checked by waiting on the screen.
click_at() {
    xdotool mousemove --window "$WID" "$1" "$2" click "${3:-1}"
}

# Waits up to 10 s for the screen pixel at window coordinates x, y to be "r,g,b"; the colour last
# seen is left in SEEN.
wait_pixel() {
    for _ in $(seq 100); do
        SEEN="$(pixel_at "$1" "$2")"
        [ "$SEEN" = "$3" ] && return 0
        sleep 0.1
    done
    return 1
}

expect_pixel() {
    wait_pixel "$1" "$2" "$3" || fail "$4: pixel at $1,$2 is $SEEN, expected $3"
}

# Waits up to 10 s for the clipboard's owner to offer type $1.
wait_clipboard_offers() {
    for _ in $(seq 100); do
        xclip -o -selection clipboard -t TARGETS 2>/dev/null | grep -qxF "$1" && return 0
        sleep 0.1
    done
    fail "no clipboard owner offers $1"
}

# Presses "EXIT" in the main window and expects the process to end at once with status 0.
exit_through_button() {
    WID="$MAIN_WID"
    click_at 28 268
    for _ in $(seq 50); do
        kill -0 "$VANTOK_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$VANTOK_PID" 2>/dev/null; then fail "EXIT left the process running"; fi
    local status=0
    wait "$VANTOK_PID" || status=$?
    VANTOK_PID=""
    [ "$status" -eq 0 ] || fail "EXIT ended with status $status"
}

# Fails when the program's peak resident memory went over the picture size limit plus a margin.
PICTURE_LIMIT_KB=$((512 * 1024))
MEMORY_MARGIN_KB=$((64 * 1024))
expect_peak_memory_within_limit() {
    local peak_kb
    peak_kb="$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$VANTOK_PID/status")"
    echo "peak resident memory ${peak_kb} kB"
    [ "$peak_kb" -lt $((PICTURE_LIMIT_KB + MEMORY_MARGIN_KB)) ] ||
        fail "peak memory $peak_kb kB is over the limit plus margin ($((PICTURE_LIMIT_KB + MEMORY_MARGIN_KB)) kB)"
}
