#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Picks at every scale factor: a press with any button on any device pixel of a pasted picture
# reads the picture pixel drawn at that device pixel, up to the last device column and row. After
# Ctrl+1 each stored pixel takes exactly one device pixel, and presses there pick exactly. The
# window manager is told the window's design size, 307 x 283 logical pixels, as its smallest.
source "$(dirname "$0")/lib.sh"

# Every pixel differs from all eight neighbours, and only the picture's pixels have blue 77.
WIDTH=20 HEIGHT=16
{
    echo "P3 $WIDTH $HEIGHT 255"
    for ((y = 0; y < HEIGHT; y++)); do
        for ((x = 0; x < WIDTH; x++)); do echo "$((10 + 12 * x)) $((10 + 12 * y)) 77"; done
    done
} >"$WORK/picture.ppm"
convert "$WORK/picture.ppm" "$WORK/picture.png"
xclip -quiet -selection clipboard -t image/png -i "$WORK/picture.png" >/dev/null 2>&1 &
# One pointer driver takes every press, one line each, without a process start per press.
coproc POINTER { exec xdotool -; }

# Window coordinates in device pixels of the logical point $1, $2.
device() { awk -v s="$SCALE" -v x="$1" -v y="$2" 'BEGIN { printf "%d %d\n", x * s, y * s }'; }

# Reads the drawn picture from the screen around Pic1 and prints "x y r,g,b" for every device
# pixel of the two by two picture pixels at its first and at its last corner (one device pixel
# more at fractional scales, where blocks differ in size), alternating between the corners so that
# consecutive presses expect different colours. Prints nothing until the whole picture is drawn.
corner_presses() {
    local left top
    read -r left top < <(device 56 0)
    local size
    size="$(awk -v s="$SCALE" -v w="$WIDTH" -v h="$HEIGHT" \
        'BEGIN { printf "%dx%d", (w + 4) * s + 2, (h + 4) * s + 2 }')"
    import -window root -crop "$size+$((WIN_X + left))+$((WIN_Y + top))" -depth 8 txt:- |
        awk -v s="$SCALE" -v dx="$left" -v dy="$top" -v last="$((10 + 12 * (WIDTH - 1))),$((10 + 12 * (HEIGHT - 1))),77" '
            function ceil(v) { return v == int(v) ? v : int(v) + 1 }
            /^[0-9]+,[0-9]+: \(/ {
                split($1, at, /[,:]/)
                colour = $2; gsub(/[()]/, "", colour)
                drawn[at[1] "," at[2]] = colour
                split(colour, c, ",")
                if (c[3] != 77) next
                if (!found || at[1] < x0) x0 = at[1]
                if (!found || at[2] < y0) y0 = at[2]
                if (!found || at[1] > x1) x1 = at[1]
                if (!found || at[2] > y1) y1 = at[2]
                found = 1
            }
            END {
                if (!found || drawn[x1 "," y1] != last) exit
                span = ceil(2 * s) + (s == int(s) ? 0 : 1)
                for (i = 0; i < span * span; ++i) {
                    row = int(i / span); col = i % span
                    press(x0 + col, y0 + row)
                    press(x1 - col, y1 - row)
                }
            }
            function press(x, y) { print x + dx, y + dy, drawn[x "," y] }'
}

# Once Ctrl+1 shows each picture pixel on one device pixel of its own colour, prints presses at
# the picture's corners as corner_presses does; nothing before.
one_to_one_presses() {
    local left top
    read -r left top < <(device 56 0)
    import -window root -crop "$((WIDTH * 4))x$((HEIGHT * 4))+$((WIN_X + left))+$((WIN_Y + top))" \
        -depth 8 txt:- | awk -v w="$WIDTH" -v h="$HEIGHT" -v dx="$left" -v dy="$top" '
            /^[0-9]+,[0-9]+: \(.*,77\)/ {
                split($1, at, /[,:]/)
                colour = $2; gsub(/[()]/, "", colour)
                drawn[at[1] "," at[2]] = colour
                if (!n++) { x0 = at[1]; y0 = at[2] }
            }
            END {
                if (n != w * h) exit
                for (y = 0; y < h; ++y)
                    for (x = 0; x < w; ++x)
                        if (drawn[(x0 + x) "," (y0 + y)] != (10 + 12 * x) "," (10 + 12 * y) ",77") exit
                for (i = 0; i < 3; ++i) { press(i == 1, i == 2); press(w - 1 - (i == 1), h - 1 - (i == 2)) }
            }
            function press(x, y) { print x0 + x + dx, y0 + y + dy, drawn[(x0 + x) "," (y0 + y)] }'
}

# Waits up to 10 s for command $1 to print presses, "x y r,g,b" a line; then presses each device
# pixel with the buttons in turn, expecting the swatch to take its colour. $2 names the view.
presses_pick_drawn_pixels() {
    local presses="" button=1 x y colour
    for _ in $(seq 100); do
        presses="$("$1")"
        [ -n "$presses" ] && break
        sleep 0.1
    done
    [ -n "$presses" ] || fail "scale $SCALE, $2: the picture was not drawn so"
    while read -r x y colour; do
        [[ "$colour" == *,77 ]] || fail "scale $SCALE: device pixel $x,$y shows $colour, not the picture"
        echo "mousemove --window $WID $x $y click $button" >&"${POINTER[1]}"
        wait_pixel $SWATCH "$colour" ||
            fail "scale $SCALE: button $button on device pixel $x,$y drawn $colour picked $SEEN"
        button=$((button % 3 + 1))
    done <<<"$presses"
    echo "scale $SCALE, $2: $(wc -l <<<"$presses") presses read the pixel drawn under them"
}

for SCALE in 1 1.25 1.5 1.75 2 3; do
    export QT_SCALE_FACTOR="$SCALE"
    start_vantok Vantok
    smallest="$(xprop -id "$WID" WM_NORMAL_HINTS | sed -n 's/.*minimum size: \([0-9]*\) by \([0-9]*\)/\1 \2/p')"
    [ "$smallest" = "$(awk -v s="$SCALE" 'BEGIN { printf "%d %d", 307 * s + 0.5, 283 * s + 0.5 }')" ] ||
        fail "scale $SCALE: the smallest size the window manager may give is '$smallest'"
    SWATCH="$(device 9 25)"  # inside Lab1, below its caption
    click_at $(device 28 164)  # PASTE
    presses_pick_drawn_pixels corner_presses "pasted"
    xdotool mousemove --window "$WID" $(device 20 250) key ctrl+1  # keys go to the window under it
    presses_pick_drawn_pixels one_to_one_presses "after Ctrl+1, one device pixel each"
    kill "$VANTOK_PID"
    wait "$VANTOK_PID" 2>/dev/null || true
    VANTOK_PID=""
done
echo "PASS: picks at every scale read the device pixel under the pointer"
