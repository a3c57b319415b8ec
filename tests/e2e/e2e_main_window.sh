#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real window: a pick on a pasted picture, typing into a box, the radix switch, the swatch's
# menu.
source "$(dirname "$0")/lib.sh"

# Waits up to 10 s for a window of the program's beside the main window: the menu it popped up.
wait_popup_menu() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --pid "$VANTOK_PID" 2>/dev/null | grep -qvx "$MAIN_WID" && return 0
        sleep 0.1
    done
    fail "no menu popped up"
}

start_vantok Vantok
SWATCH="20 12"  # inside Lab1, beside its caption

# The window carries its icon in both sizes.
icons="$(xprop -id "$WID" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | sort | tr '\n' ' ')"
[ "$icons" = "Icon (16 x 16) Icon (32 x 32) " ] || fail "window icons: '$icons'"
expect_pixel $SWATCH "192,192,192" "swatch starts grey"

# Typing a component repaints the swatch at once.
click_at 30 40
xdotool key ctrl+a type 255
expect_pixel $SWATCH "255,0,0" "typed red"

# "16" at start of a typed box: 255 becomes FF and the colour stays.
click_at 20 112
expect_pixel $SWATCH "255,0,0" "hex keeps the colour"

# The swatch's menu, worked with the keyboard: its sixth entry copies the colour's name.
click_at $SWATCH 3
wait_popup_menu
xdotool key Down Down Down Down Down Down Return
for _ in $(seq 50); do
    copied="$(xclip -o -selection clipboard 2>/dev/null || true)"
    [ "$copied" = "red (strong red)" ] && break
    sleep 0.1
done
[ "$copied" = "red (strong red)" ] || fail "the swatch's menu copied '$copied'"

# A picture on the clipboard, pasted and picked pixel for pixel.
convert -size 40x30 xc:'rgb(52,18,5)' -fill 'rgb(7,200,99)' -draw 'rectangle 20,0 39,29' \
    "$WORK/paste.png"
xclip -quiet -selection clipboard -t image/png -i "$WORK/paste.png" >/dev/null 2>&1 &
wait_clipboard_offers image/png
click_at 28 164  # PASTE
expect_pixel $((56 + 2 + 5)) $((2 + 5)) "52,18,5" "pasted left half"
expect_pixel $((56 + 2 + 30)) $((2 + 5)) "7,200,99" "pasted right half"
click_at $((56 + 2 + 30)) $((2 + 10)) 3  # right button picks too
expect_pixel $SWATCH "7,200,99" "picked right half"
click_at $((56 + 2 + 19)) $((2 + 29))
expect_pixel $SWATCH "52,18,5" "picked last pixel of the left half"

# "SAMPLE" shows the chart pixel for pixel: the screen equals the generator's output.
CHART_WRITER="${2:?path to write_chart_bmp}"
"$CHART_WRITER" "$WORK/chart.bmp" >/dev/null
click_at 28 188  # SAMPLE
for _ in $(seq 50); do
    import -window root -crop "215x180+$((WIN_X + 74))+$((WIN_Y + 34))" +repage "$WORK/shown.png"
    differing="$(compare -metric AE "$WORK/chart.bmp" "$WORK/shown.png" null: 2>&1 || true)"
    [ "$differing" = "0" ] && break
    sleep 0.1
done
[ "$differing" = "0" ] || fail "the shown chart differs from the generated one in $differing pixels"
click_at $((74 + 8)) $((34 + 4))
expect_pixel $SWATCH "255,23,0" "pick on the chart's dithered red"

# "EXIT" ends the process with status 0.
exit_through_button
echo "PASS: main window end to end"
