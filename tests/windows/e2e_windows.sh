#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# vantok.exe under Wine on the X display: the window's size, the sample chart, a bitmap pasted
# from the X clipboard (CF_DIB to Windows programs), Ctrl+C, the chooser with a BMP, a PCX and a
# drive letter of Wine's, "Zoom it!", "EXIT", and a colour taken from the screen with --grab.
#   e2e_windows.sh VANTOK.EXE WRITE_CHART_BMP.EXE   (VANTOK_RUNNER runs Windows programs)
source "$(dirname "$0")/../e2e/lib.sh"
: "${VANTOK_RUNNER:?the program that runs Windows programs}"
CHART_WRITER="${2:?path to write_chart_bmp.exe}"

convert -size 30x20 xc:'rgb(10,120,230)' -fill 'rgb(250,5,77)' -draw 'rectangle 15,0 29,19' \
    "BMP3:$WORK/a.bmp"
convert -size 24x16 xc:'rgb(33,66,99)' -fill 'rgb(200,180,1)' -draw 'rectangle 0,8 23,15' \
    "$WORK/b.pcx"

# A drive of its own: V: in the prefix, a folder holding one picture. Wine's mount manager reads
# the drives when it starts, so the prefix's wineserver starts again after the drive comes and goes.
"$VANTOK_RUNNER" cmd /c exit  # makes the prefix the first time
PREFIX="${VANTOK_WINEPREFIX:-${VANTOK_CACHE_DIR:-$HOME/.cache/vantok}/wine-prefix}"
restart_wine() { WINEPREFIX="$PREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true; }
[ ! -e "$PREFIX/dosdevices/v:" ] || fail "the prefix has a V: drive already"
mkdir "$WORK/v"
convert -size 12x12 xc:'rgb(140,3,201)' "BMP3:$WORK/v/v.bmp"
test_cleanup() {
    rm -f "$PREFIX/dosdevices/v:"
    restart_wine
}
ln -s "$WORK/v" "$PREFIX/dosdevices/v:"
restart_wine

start_vantok Vantok
SWATCH="20 12"

# The client area has the size it has on Linux: Wine's window is the client area alone.
size="$(xwininfo -id "$WID" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')"
[ "$size" = "307x283" ] || fail "client area is $size, expected 307x283"

# "SAMPLE" shows the chart pixel for pixel, as the generator writes it.
(cd "$WORK" && "$VANTOK_RUNNER" "$CHART_WRITER" chart.bmp >/dev/null)
click_at 28 188
for _ in $(seq 50); do
    import -window root -crop "215x180+$((WIN_X + 74))+$((WIN_Y + 34))" +repage "$WORK/shown.png"
    differing="$(compare -metric AE "$WORK/chart.bmp" "$WORK/shown.png" null: 2>&1 || true)"
    [ "$differing" = "0" ] && break
    sleep 0.1
done
[ "$differing" = "0" ] || fail "the shown chart differs from the generated one in $differing pixels"
click_at $((74 + 8)) $((34 + 4))
expect_pixel $SWATCH "255,23,0" "pick on the chart's dithered red"

# A bitmap on the X clipboard, which Wine offers Windows programs as CF_DIB.
convert -size 40x30 xc:'rgb(52,18,5)' -fill 'rgb(7,200,99)' -draw 'rectangle 20,0 39,29' \
    "BMP3:$WORK/paste.bmp"
xclip -quiet -selection clipboard -t image/bmp -i "$WORK/paste.bmp" >/dev/null 2>&1 &
wait_clipboard_offers image/bmp
click_at 28 164  # PASTE
expect_pixel $((56 + 2 + 5)) $((2 + 5)) "52,18,5" "pasted left half"
expect_pixel $((56 + 2 + 30)) $((2 + 5)) "7,200,99" "pasted right half"
click_at $((56 + 2 + 19)) $((2 + 29))
expect_pixel $SWATCH "52,18,5" "picked last pixel of the left half"

# Ctrl+C puts the swatch's colour on the clipboard, which Wine hands on to X.
xdotool key --window "$WID" ctrl+c
for _ in $(seq 100); do
    copied="$(xclip -o -selection clipboard 2>/dev/null || true)"
    [ "$copied" = "#341205" ] && break
    sleep 0.1
done
[ "$copied" = "#341205" ] || fail "Ctrl+C copied '$copied', expected #341205"

# "FILE": the chooser opens on the current folder; its files in order, each shown and picked.
click_at 28 140
wait_window "Files "
FILES_WID="$FOUND_WID"
# With no window manager, Wine activates a window on a click, not when X gives it the focus: a
# click on the chooser's empty corner, below the folders and left of the mode box.
focus_chooser() {
    xdotool mousemove --window "$FILES_WID" 10 210 click 1
}
focus_chooser
xdotool key --window "$FILES_WID" Tab Tab Down  # the file list's a.bmp
WID="$MAIN_WID"
expect_pixel $((58 + 3)) $((2 + 3)) "10,120,230" "BMP shown in Pic1"
expect_pixel $((58 + 20)) $((2 + 19)) "250,5,77" "BMP right half"
click_at $((58 + 20)) $((2 + 10))
expect_pixel $SWATCH "250,5,77" "pick from the BMP"

focus_chooser
xdotool key --window "$FILES_WID" Down  # b.pcx
expect_pixel $((58 + 5)) $((2 + 2)) "33,66,99" "PCX shown in Pic1"
expect_pixel $((58 + 23)) $((2 + 15)) "200,180,1" "PCX last pixel"
click_at $((58 + 23)) $((2 + 15))
expect_pixel $SWATCH "200,180,1" "pick from the PCX"

# The drive list holds Wine's drive letters: "v" picks V:, whose one file is then loaded.
focus_chooser
# From the file list the tab order goes on through the pattern box and the mode box to the drives.
xdotool key --window "$FILES_WID" Tab Tab Tab v Tab Tab Down
expect_pixel $((58 + 6)) $((2 + 6)) "140,3,201" "picture from drive V: shown in Pic1"
click_at $((58 + 11)) $((2 + 11))
expect_pixel $SWATCH "140,3,201" "pick from drive V:'s picture"

# "Zoom it!" starts .\ZOOM.EXE from the current folder: here a second Vantok, ended by its EXIT.
cp "$VANTOK" "$WORK/ZOOM.EXE"
WID="$MAIN_WID"
click_at 28 212
for _ in $(seq 300); do
    ZOOM_WID="$(xdotool search --onlyvisible --name '^Vantok$' | grep -vx "$MAIN_WID" | head -1 || true)"
    [ -n "$ZOOM_WID" ] && break
    sleep 0.1
done
[ -n "$ZOOM_WID" ] || fail "\"Zoom it!\" started no .\\ZOOM.EXE"
xdotool mousemove --window "$ZOOM_WID" 28 268 click 1
for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^Vantok$' | grep -qvx "$MAIN_WID" || break
    sleep 0.1
done

exit_through_button

# --grab: the screen holding another program's picture, every pixel unlike its neighbours, is held
# still; a press takes the pixel it showed, and the main window comes with it.
{
    echo "P3 20 16 255"
    for ((y = 0; y < 16; y++)); do
        for ((x = 0; x < 20; x++)); do echo "$((10 + 12 * x)) $((10 + 12 * y)) 77"; done
    done
} >"$WORK/pattern.ppm"
display -geometry +200+150 -borderwidth 0 -title pattern "$WORK/pattern.ppm" &
wait_window pattern
WIN_X=200 WIN_Y=150
expect_pixel 19 15 "238,190,77" "the pattern's last pixel"
(cd "$WORK" && exec "$VANTOK_RUNNER" "$VANTOK" --grab) &
VANTOK_PID=$!
wait_window "Pick a colour from the screen"
xdotool mousemove $((200 + 5)) $((150 + 7)) click 1
wait_window Vantok
WID="$FOUND_WID"
MAIN_WID="$WID"
eval "$(xdotool getwindowgeometry --shell "$WID" | sed 's/^/WIN_/')"
expect_pixel $SWATCH "70,94,77" "the pixel taken from the screen"
exit_through_button
echo "PASS: vantok.exe under Wine end to end"
