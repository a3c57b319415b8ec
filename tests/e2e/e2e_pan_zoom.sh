#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A picture far larger than the window, named on the command line, at scale factors 1 and 2: its
# bottom-right pixel is brought into view by the wheel, by the keys and by dragging the scroll
# bars, and picked exactly, as are the pixels beside the scroll bars; at 8x and zoomed out to fit,
# presses pick the pixel drawn under them.
# The pick mark starts at the view's centre, moves by the keys with the view following, is drawn
# around its pixel without hiding it, and Space or Enter takes its pixel; a press reads the picture,
# never the mark's outline.
# The loupe follows a held button over a half-transparent picture.
# Also prints how long a wheel notch takes to reach the screen.
source "$(dirname "$0")/lib.sh"

GENERATOR="${VANTOK_COORDINATE_PICTURE:?path to make_coordinate_picture}"
WIDTH=4000 HEIGHT=3000
"$GENERATOR" $WIDTH $HEIGHT "$WORK/big.ppm" || fail "the generator failed"
# Each pixel tells its place: red and green the low bytes of column and row, blue their high bits.
stored() { echo "$(($1 & 255)),$(($2 & 255)),$(((($1 >> 8) & 15) | ((($2 >> 8) & 15) << 4)))"; }
LAST="$(stored $((WIDTH - 1)) $((HEIGHT - 1)))"
BAR=14  # the scroll bars' breadth in logical pixels
coproc POINTER { exec xdotool -; }

# Window coordinates in device pixels of the logical point $1, $2.
device() { echo "$(($1 * SCALE)) $(($2 * SCALE))"; }

# The window's client area as text, one device pixel a line: "x,y: (r,g,b)"; with four arguments
# only the part at x $1, y $2 of $3 by $4 device pixels, still in window coordinates.
screen_text() {
    local x="${1:-0}" y="${2:-0}" w="${3:-$WIN_WIDTH}" h="${4:-$WIN_HEIGHT}"
    import -window root -crop "${w}x${h}+$((WIN_X + x))+$((WIN_Y + y))" -depth 8 txt:- |
        awk -v dx="$x" -v dy="$y" '/^[0-9]/ { split($1, at, /[,:]/); print at[1] + dx "," at[2] + dy ": " $2 }'
}

# Prints "x y" of the last device pixel (rightmost of the lowest row) drawn in colour $1 in the
# bottom-right corner of the window.
last_drawn() {
    local corner=$((40 * SCALE))
    screen_text $((WIN_WIDTH - corner)) $((WIN_HEIGHT - corner)) $corner $corner |
        awk -v want="($1)" '
        {
            if ($2 != want) next
            split($1, at, /[,:]/)
            if (!found || at[2] > y || (at[2] == y && at[1] > x)) { x = at[1]; y = at[2] }
            found = 1
        }
        END { if (found) print x, y }'
}

# Presses device pixel $1, $2 and expects the swatch to take colour $3.
press_expecting() {
    echo "mousemove --window $WID $1 $2 click 1" >&"${POINTER[1]}"
    wait_pixel $SWATCH "$3" || fail "scale $SCALE, $4: the press at $1,$2 picked $SEEN, not $3"
}

# Waits for the bottom-right pixel to be drawn, then presses its last device pixel.
pick_last_pixel() {
    local at=""
    for _ in $(seq 100); do
        at="$(last_drawn "$LAST")"
        [ -n "$at" ] && break
        sleep 0.1
    done
    [ -n "$at" ] || fail "scale $SCALE, $1: the bottom-right pixel $LAST never came into view"
    press_expecting $at "$LAST" "$1"
    echo "scale $SCALE, $1: picked the bottom-right pixel at $at"
}

# Prints "x y" of the top-left of the pick mark's outline once the picture pixel drawn in colour $1
# shows whole, SCALE by SCALE device pixels, inside a ring one device pixel wide, black or white.
mark_outline() {
    screen_text $((58 * SCALE)) $((2 * SCALE)) $(((LOGICAL_W - 60 - BAR) * SCALE)) \
        $(((LOGICAL_H - 4 - BAR) * SCALE)) | awk -v want="($1)" -v s="$SCALE" '
        { split($1, at, /[,:]/); drawn[at[1] "," at[2]] = $2 }
        $2 == want && !n++ { x0 = at[1]; y0 = at[2] }
        END {
            ring = drawn[(x0 - 1) "," (y0 - 1)]
            if (n != s * s || (ring != "(0,0,0)" && ring != "(255,255,255)")) exit
            for (y = y0 - 1; y <= y0 + s; ++y)
                for (x = x0 - 1; x <= x0 + s; ++x)
                    if (drawn[x "," y] != (x < x0 || x >= x0 + s || y < y0 || y >= y0 + s ? ring : want))
                        exit
            print x0 - 1, y0 - 1
        }'
}

go_home() {
    xdotool key Home
    expect_pixel $(device 58 2) "0,0,0" "Home shows the top-left pixel"
}

# Waits up to 10 s for command $1 to succeed on the view's row $2, $3 wide (logical pixels).
wait_for_row() {
    local row
    for _ in $(seq 50); do
        row="$(screen_text $((58 * SCALE)) $(($2 * SCALE)) $(($3 * SCALE)) 1)"
        "$1" "$row" && return 0
        sleep 0.2
    done
    return 1
}

# At 8x every block along a row, but the partly shown ones at its ends, is 8 logical pixels wide.
blocks_are_8x() {
    [ "$(awk '{ if ($2 != last) { if (run) print run; run = 0 } last = $2; ++run }' <<<"$1" |
        sed '1d' | sort -u)" = "$((8 * SCALE))" ]
}

# Zoomed out to fit, the view's last column shows one of the picture's last columns.
shows_last_columns() {
    local r b
    read -r r _ b < <(tail -1 <<<"$1" | awk '{ gsub(/[()]/, "", $2); gsub(/,/, " ", $2); print $2 }')
    [ $((r + 256 * (b & 15))) -ge $((WIDTH - 20)) ]
}

# Presses the last device pixel of every listed logical point and compares the swatch with what
# was drawn there.
picks_match_drawing() {
    local what="$1"
    shift
    while [ $# -gt 0 ]; do
        local x=$((($1 + 1) * SCALE - 1)) y=$((($2 + 1) * SCALE - 1))
        shift 2
        local drawn
        drawn="$(pixel_at $x $y)"
        [ "$drawn" != "192,192,192" ] || fail "scale $SCALE, $what: no picture drawn at $x,$y"
        press_expecting $x $y "$drawn" "$what"
    done
    echo "scale $SCALE, $what: every press picked the pixel drawn under it"
}

for SCALE in 1 2; do
    export QT_SCALE_FACTOR=$SCALE
    start_vantok Vantok "$WORK/big.ppm"
    SWATCH="$(device 9 25)"
    LOGICAL_W=$((WIN_WIDTH / SCALE)) LOGICAL_H=$((WIN_HEIGHT / SCALE))
    expect_pixel $(device 58 2) "0,0,0" "the picture starts at its top-left"

    # The pick mark, at 1:1: Space takes the view's centre, where the mark starts; the keys go to
    # the window under the pointer.
    CX=$(((LOGICAL_W - 60 - BAR) / 2)) CY=$(((LOGICAL_H - 4 - BAR) / 2))
    xdotool mousemove --window "$WID" $(device 150 100) key space
    expect_pixel $SWATCH "$(stored $CX $CY)" "scale $SCALE: Space before any mark"
    xdotool key --delay 20 shift+Right shift+Right shift+Right shift+Down \
        $(printf 'shift+Page_Down %.0s' $(seq 30)) Return
    expect_pixel $SWATCH "$(stored $((CX + 3)) $((CY + 301)))" "scale $SCALE: Enter on the mark"
    outline=""
    for _ in $(seq 50); do
        outline="$(mark_outline "$(stored $((CX + 3)) $((CY + 301)))")" && [ -n "$outline" ] && break
        sleep 0.2
    done
    [ -n "$outline" ] || fail "scale $SCALE: the view did not follow the mark, or its outline hid it"
    # A press on the outline reads the picture there, and hides the mark; the keys go on from there.
    press_expecting $outline "$(stored $((CX + 2)) $((CY + 300)))" "a press on the mark's outline"
    expect_pixel $outline "$(stored $((CX + 2)) $((CY + 300)))" "scale $SCALE: a press hides the mark"
    xdotool key shift+Left space
    expect_pixel $SWATCH "$(stored $((CX + 1)) $((CY + 300)))" "scale $SCALE: the mark after a press"
    picks_match_drawing "the keys, and a press hiding the mark" 150 100

    # The wheel: down, then sideways with the horizontal wheel and with Shift.
    xdotool mousemove --window "$WID" $(device 150 100)
    xdotool click --repeat 60 --delay 5 5
    xdotool click --repeat 40 --delay 5 7
    xdotool keydown shift click --repeat 40 --delay 5 5 keyup shift
    pick_last_pixel "wheel"
    if [ "$SCALE" = 1 ]; then
        go_home
        xdotool mousemove --window "$WID" $(device 150 100)
        echo "wheel notch to painted frame: median $(/usr/bin/python3 "$(dirname "$0")/wheel_to_frame.py" \
            $((WIN_X + 60)) $((WIN_Y + 4)) 15) ms of 15"
    fi

    # The keys, Pic1 having the focus.
    go_home
    xdotool key Page_Down Right End
    pick_last_pixel "keys"
    # Beside the scroll bars, the view's last device column and row pick too, part way along.
    read -r x y < <(last_drawn "$LAST")
    press_expecting $x $((y - 90 * SCALE)) "$(pixel_at $x $((y - 90 * SCALE)))" "beside the vertical bar"
    press_expecting $((x - 90 * SCALE)) $y "$(pixel_at $((x - 90 * SCALE)) $y)" "above the horizontal bar"

    # The scroll bars, dragged by their sliders to their far ends.
    go_home
    xdotool mousemove --window "$WID" $(device $((LOGICAL_W - 2 - BAR / 2)) $((2 + BAR + 6))) \
        mousedown 1 mousemove --window "$WID" $(device $((LOGICAL_W - 2 - BAR / 2)) $((LOGICAL_H - 1))) \
        mouseup 1
    xdotool mousemove --window "$WID" $(device $((58 + BAR + 6)) $((LOGICAL_H - 2 - BAR / 2))) \
        mousedown 1 mousemove --window "$WID" $(device $((LOGICAL_W - 1)) $((LOGICAL_H - 2 - BAR / 2))) \
        mouseup 1
    pick_last_pixel "scroll bars"

    # 8x around the pointer: every picture pixel is a block of 8 by 8 logical pixels.
    xdotool mousemove --window "$WID" $(device 150 100) keydown ctrl click --repeat 5 --delay 20 4 keyup ctrl
    wait_for_row blocks_are_8x 22 $((LOGICAL_W - 60 - BAR)) || fail "scale $SCALE: Ctrl+wheel did not reach 8x"
    picks_match_drawing "8x" 58 2 59 3 65 9 66 10 150 100 200 150 \
        $((LOGICAL_W - 3 - BAR)) $((LOGICAL_H - 3 - BAR))

    # Out to where the whole picture fits.
    xdotool key --delay 20 ctrl+minus ctrl+minus ctrl+minus ctrl+minus ctrl+minus ctrl+minus \
        ctrl+minus ctrl+minus ctrl+minus ctrl+minus ctrl+minus ctrl+minus ctrl+minus
    wait_for_row shows_last_columns 2 $((LOGICAL_W - 60)) || fail "scale $SCALE: Ctrl+- did not fit the picture's width"
    picks_match_drawing "zoomed to fit" 58 2 59 3 60 2 61 5 100 50 150 100 200 150 \
        $((LOGICAL_W - 3)) 10 $((LOGICAL_W - 3)) 100

    kill "$VANTOK_PID"
    wait "$VANTOK_PID" 2>/dev/null || true
    VANTOK_PID=""
done
# A button held on a half-transparent pixel shows the loupe beside the pointer (its black frame 24
# pixels down and right); moving with the button held picks what passes under it, and letting go
# hides the loupe. What the loupe says is the widget test's.
SCALE=1
unset QT_SCALE_FACTOR
convert -size 40x30 xc:'rgba(170,0,50,0.1412)' -fill 'rgb(10,200,30)' -draw 'rectangle 20,0 39,29' \
    "PNG32:$WORK/half.png"
start_vantok Vantok "$WORK/half.png"
SWATCH="9 25"
expect_pixel 87 31 "10,200,30" "the picture's right half"
xdotool mousemove --window "$WID" 63 7 mousedown 1
expect_pixel $SWATCH "189,165,172" "held on the half-transparent pixel"
expect_pixel 87 31 "0,0,0" "the loupe's frame beside the pointer"
xdotool mousemove --window "$WID" 85 10
expect_pixel $SWATCH "10,200,30" "moved with the button held"
xdotool mouseup 1
expect_pixel 87 31 "10,200,30" "the loupe gone after letting go"
echo "PASS: the bottom-right pixel was reached and picked in three ways; zoomed picks read what is drawn; the loupe follows a held button"
