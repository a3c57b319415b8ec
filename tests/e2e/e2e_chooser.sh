#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real chooser: walk the current folder's files with the keyboard, load a BMP and a PCX into
# the picture box, pick from each; then "EXIT" with the chooser open. Thousands of empty files that
# sort last make the list fill in over several reports, which must not upset the order.
source "$(dirname "$0")/lib.sh"

seq -f "$WORK/z%04g.bmp" 0 2999 | xargs touch

convert -size 30x20 xc:'rgb(10,120,230)' -fill 'rgb(250,5,77)' -draw 'rectangle 15,0 29,19' \
    "BMP3:$WORK/a.bmp"
convert -size 24x16 xc:'rgb(33,66,99)' -fill 'rgb(200,180,1)' -draw 'rectangle 0,8 23,15' \
    "$WORK/b.pcx"
echo "not a picture" >"$WORK/c.bmp"

start_vantok Vantok
SWATCH="20 12"
PIC="58 2"  # Pic1's inner top-left in the main window

click_at 28 140  # FILE
wait_window "Files "
FILES_WID="$FOUND_WID"
xdotool windowactivate --sync "$FILES_WID" 2>/dev/null || xdotool windowfocus --sync "$FILES_WID"
# Tab order: drive list, directory list, file list.
xdotool key --window "$FILES_WID" Tab Tab
xdotool key --window "$FILES_WID" Down  # a.bmp

eval "$(xdotool getwindowgeometry --shell "$MAIN_WID" | sed 's/^/WIN_/')"
WID="$MAIN_WID"
expect_pixel $((58 + 3)) $((2 + 3)) "10,120,230" "BMP shown in Pic1"
expect_pixel $((58 + 20)) $((2 + 19)) "250,5,77" "BMP right half"
click_at $((58 + 20)) $((2 + 10))
expect_pixel $SWATCH "250,5,77" "pick from the BMP"

xdotool windowactivate --sync "$FILES_WID" 2>/dev/null || xdotool windowfocus --sync "$FILES_WID"
xdotool key --window "$FILES_WID" Down  # b.pcx
expect_pixel $((58 + 5)) $((2 + 2)) "33,66,99" "PCX shown in Pic1"
expect_pixel $((58 + 23)) $((2 + 15)) "200,180,1" "PCX last pixel"
click_at $((58 + 23)) $((2 + 15))
expect_pixel $SWATCH "200,180,1" "pick from the PCX"

# A broken file keeps the last good picture and the program answers the next pick.
xdotool windowactivate --sync "$FILES_WID" 2>/dev/null || xdotool windowfocus --sync "$FILES_WID"
# The display hands the program the key before the click below, so the pick follows the load.
xdotool key --window "$FILES_WID" Down  # c.bmp
kill -0 "$VANTOK_PID" || fail "a broken file ended the program"
click_at $((58 + 5)) $((2 + 2))
expect_pixel $SWATCH "33,66,99" "pick after a broken file"

# "EXIT" with the chooser open.
exit_through_button
echo "PASS: chooser end to end"
