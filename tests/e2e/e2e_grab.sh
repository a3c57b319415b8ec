#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Taking a colour from the screen: another program shows a picture whose every pixel differs from
# its neighbours over the whole screen; `vantok --grab` and then Ctrl+G freeze the screen, and
# presses at its corners, Enter after arrow-key moves, and at scale 2 each device pixel of a 2 × 2
# block take exactly the pixel that was there, which Ctrl+C then copies. What changes on screen
# after a grab is not taken; Escape changes nothing.
source "$(dirname "$0")/lib.sh"

GENERATOR="${VANTOK_COORDINATE_PICTURE:?path to make_coordinate_picture}"
read -r SCREEN_W SCREEN_H < <(xdotool getdisplaygeometry)
"$GENERATOR" "$SCREEN_W" "$SCREEN_H" "$WORK/pattern.ppm" || fail "the generator failed"
FROZEN="Pick a colour from the screen"


# What the pattern shows at device pixel $1, $2: red and green the low bytes of column and row,
# blue their high bits.
shown() { echo "$(($1 & 255)),$(($2 & 255)),$(((($1 >> 8) & 15) | ((($2 >> 8) & 15) << 4)))"; }

show_pattern() {
    display -geometry +0+0 -borderwidth 0 -title pattern "$WORK/pattern.ppm" &
    PATTERN_PID=$!
    wait_window pattern
    WIN_X=0 WIN_Y=0
    for at in "0 0" "$((SCREEN_W - 1)) $((SCREEN_H - 1))"; do
        expect_pixel $at "$(shown $at)" "the pattern"
    done
}

# The main window is back and its swatch shows colour $1.
expect_taken() {
    wait_window Vantok
    WID="$FOUND_WID"
    eval "$(xdotool getwindowgeometry --shell "$WID" | sed 's/^/WIN_/')"
    expect_pixel $((9 * SCALE)) $((25 * SCALE)) "$1" "$2"
    echo "scale $SCALE: $2 took $1"
    # Keys go to the active window: the main window is active again, as before the grab.
    for _ in $(seq 100); do
        [ "$(xdotool getwindowfocus)" = "$WID" ] && return 0
        sleep 0.1
    done
    fail "the main window did not take the focus back"
}

# Ctrl+G in the main window, then waits for the frozen screen.
grab_again() {
    xdotool key ctrl+g
    wait_window "$FROZEN"
}

# Presses device pixel $1, $2 of the frozen screen with button $3.
take_at() {
    local expected
    expected="$(shown "$1" "$2")"
    xdotool mousemove "$1" "$2" click "$3"
    expect_taken "$expected" "button $3 at $1,$2"
}

SCALE=1
show_pattern
(cd "$WORK" && exec "$VANTOK" --grab 2> >(tee "$WORK/stderr" >&2)) &
VANTOK_PID=$!
wait_window "$FROZEN"
take_at 0 0 1
for corner in "$((SCREEN_W - 1)) $((SCREEN_H - 1)) 3" "$((SCREEN_W - 1)) 0 2" "0 $((SCREEN_H - 1)) 1"; do
    grab_again
    take_at $corner
done

grab_again
xdotool mousemove 500 400
xdotool key --delay 20 Right Right Down shift+Right Return
expect_taken "$(shown 512 401)" "Enter after the arrow keys"
# Ctrl+C copies the colour taken, as after any pick.
xdotool key ctrl+c
IFS=, read -r r g b <<<"$(shown 512 401)"
for _ in $(seq 50); do
    copied="$(xclip -o -selection clipboard 2>/dev/null || true)"
    [ "$copied" = "$(printf '#%02X%02X%02X' "$r" "$g" "$b")" ] && break
    sleep 0.1
done
[ "$copied" = "$(printf '#%02X%02X%02X' "$r" "$g" "$b")" ] || fail "Ctrl+C copied '$copied'"

grab_again
kill "$PATTERN_PID"  # the screen changes under the frozen one
wait "$PATTERN_PID" 2>/dev/null || true
take_at 300 200 1

before="$(pixel_at $((9 * SCALE)) $((25 * SCALE)))"
grab_again
xdotool key Escape
expect_taken "$before" "Escape"
kill "$VANTOK_PID"
wait "$VANTOK_PID" 2>/dev/null || true
VANTOK_PID=""

# At scale 2 each device pixel is its own, whatever Qt's logical pixels make of the pointer.
SCALE=2
show_pattern
(cd "$WORK" && QT_SCALE_FACTOR=2 exec "$VANTOK" --grab 2>>"$WORK/stderr") &
VANTOK_PID=$!
wait_window "$FROZEN"
take_at 601 401 1
for pixel in "602 401" "601 402" "602 402"; do
    grab_again
    take_at $pixel 1
done
echo "PASS: every take read the pixel the screen showed there when it was grabbed"
