#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line. --version, --help, --pixel and an unknown option end at once without a window,
# even without a display, where anything else ends with one line saying so. A BMP, a PCX, a PNG and
# a 16-bit PNG with a transparent colour named on it show pixel for pixel, also under a name that
# is not UTF-8, and the first pick reads the stored pixel; Ctrl+C then copies it. A missing, broken
# or cut picture leaves the window as a plain start shows it and says why in one line on stderr.
source "$(dirname "$0")/lib.sh"

GENERATOR="${VANTOK_TEST_PICTURES:?path to make_test_pictures}"
# Lines of "file copy width height r,g,b", the colour stored at PICK in the file.
PICTURES="$("$GENERATOR" "$WORK")" || fail "the generator failed"
echo "not a picture" >"$WORK/broken.bmp"
convert "$WORK/shot.png" -interlace JPEG "$WORK/whole.jpg"
head -c 400 "$WORK/whole.jpg" >"$WORK/cut.jpg"
ODD=$'caf\xe9.pcx'  # its bytes are not UTF-8
cp "$WORK/shot.pcx" "$WORK/$ODD"
PICTURES+=$'\n'"$ODD $(grep '^shot.pcx ' <<<"$PICTURES" | cut -d' ' -f2-)"
# As in a desktop session, so that Qt has nothing to say about its absence on stderr.
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
SWATCH="20 12"
PIC_X=58 PIC_Y=2  # Pic1's inner top-left in the main window
PICK=(5 3)

# Runs the program with arguments that must end it by themselves; sets STATUS, OUT and ERR_LINES.
run_to_end() {
    STATUS=0
    timeout 30 "$VANTOK" "$@" >"$WORK/out" 2>"$WORK/err" || STATUS=$?
    OUT="$(cat "$WORK/out")"
    ERR_LINES="$(wc -l <"$WORK/err")"
}

# Help and version answer in a terminal without a display too.
DISPLAY= WAYLAND_DISPLAY= run_to_end --version
[ "$STATUS" = 0 ] && [ "$OUT" = "Vantok 3.52" ] || fail "--version: status $STATUS, '$OUT'"
for help in --help --help-all; do
    DISPLAY= WAYLAND_DISPLAY= run_to_end $help
    [ "$STATUS" = 0 ] && grep -q '^Usage: .*vantok .*\[PICTURE\]' <<<"$OUT" ||
        fail "$help: status $STATUS, '$OUT'"
done
run_to_end --frobnicate shot.png
[ "$STATUS" = 2 ] && [ -z "$OUT" ] && [ "$ERR_LINES" = 1 ] && grep -q frobnicate "$WORK/err" ||
    fail "unknown option: status $STATUS, stderr '$(cat "$WORK/err")'"

# Without a display, none set or one no server answers: the options are checked first, Qt's own
# among them, so an unknown one is a usage error as with a display; anything else says in one line
# that no display opens and ends with status 1, never with an abort (134).
DEAD=90
while [ -e "/tmp/.X11-unix/X$DEAD" ]; do DEAD=$((DEAD + 1)); done
while read -r status said arguments; do
    for display in "" ":$DEAD"; do
        DISPLAY=$display WAYLAND_DISPLAY= run_to_end $arguments
        [ "$STATUS" = "$status" ] && [ -z "$OUT" ] && [ "$ERR_LINES" = 1 ] &&
            grep -q "^vantok: ${said//_/ }" "$WORK/err" ||
            fail "display '$display', '$arguments': status $STATUS, stderr '$(cat "$WORK/err")'"
    done
done <<'ROWS'
2 Unknown_option_'no-such-option' --no-such-option shot.png
2 Unknown_option_'no-such-option' -platform xcb -qwindowtitle Vantok --no-such-option
1 cannot_open_a_display shot.png
1 cannot_open_a_display
ROWS

# --pixel prints stored pixels without a display, through the windows' loader: each picture's
# pixel at PICK, the PNG's last pixel as ImageMagick reads it, and the other forms of a colour
# whose forms the unit test works out. A pixel outside the picture, a file that cannot be read, a
# malformed pixel or form each say why in one line on stderr; the pixels that can be read print.
pixel_run() { DISPLAY= WAYLAND_DISPLAY= run_to_end "$@"; }
expect_run() {
    [ "$STATUS" = "$1" ] && [ "$OUT" = "$2" ] && [ "$ERR_LINES" = "$3" ] &&
        { [ -z "${4:-}" ] || grep -q "$4" "$WORK/err"; } ||
        fail "--pixel ${*:5}: status $STATUS, out '$OUT', stderr '$(cat "$WORK/err")'"
}
while read -r file copy width height stored then_at then_shown; do
    IFS=, read -r r g b <<<"$stored"
    pixel_run --pixel "${PICK[0]},${PICK[1]}" "$WORK/$file"
    expect_run 0 "$(printf '#%02X%02X%02X' "$r" "$g" "$b")" 0 "" "$file"
done <<<"$PICTURES"
read -r _ _ width height _ <<<"$(grep '^shot.png ' <<<"$PICTURES")"
last="$(convert "$WORK/shot.png" -crop "1x1+$((width - 1))+$((height - 1))" -depth 8 txt:- |
    grep -o '#[0-9A-F]\{6\}')"
pixel_run --pixel $((width - 1)),$((height - 1)) --pixel "$width,0" --pixel "0,$height" \
    --pixel $((width - 1)),$((height - 1)) "$WORK/shot.png"
expect_run 1 "$last"$'\n'"$last" 2 "pixel $width,0 is outside .*shot.png.* ($width by $height pixels)" \
    "past the edges"
# The 16-bit PNG's transparent colour: stored, not drawn over the box's back colour.
transparent_at="$(grep '^deep.png ' <<<"$PICTURES" | cut -d' ' -f6)"
pixel_run --pixel "$transparent_at" --as rgba "$WORK/deep.png"
[[ "$STATUS" = 0 && "$OUT" = rgba\(*,\ 0.00\) ]] || fail "transparent pixel: '$OUT' ($STATUS)"
convert -size 1x1 xc:'rgb(220,20,60)' xc:'rgba(220,20,60,0.5)' +append "$WORK/crimson.png"
while read -r form printed; do
    pixel_run --as "$form" --pixel 0,0 "$WORK/crimson.png"
    expect_run 0 "$printed" 0 "" "--as $form"
done <<'ROWS'
hex #DC143C
rgb rgb(220, 20, 60)
hsl hsl(348, 83%, 47%)
oklch oklch(57.12% 0.2219 20.09)
name crimson (dark, strong red)
rgba rgba(220, 20, 60, 1.00)
ROWS
pixel_run --pixel 1,0 --as rgba "$WORK/crimson.png"
expect_run 0 "rgba(220, 20, 60, 0.50)" 0 "" "half transparent"
mkdir "$WORK/folder"
head -c 200 "$WORK/shot.png" >"$WORK/cut.png"
while read -r status said arguments; do
    pixel_run $arguments
    expect_run "$status" "" 1 "^vantok: .*${said//_/ }" "$arguments"
done <<ROWS
1 no_such_file --pixel 0,0 $WORK/missing.png
1 a_folder --pixel 0,0 $WORK/folder
1 not_a_picture_Vantok_reads --pixel 0,0 $WORK/broken.bmp
1 cut_short --pixel 0,0 $WORK/cut.png
1 pixel_-1,0_is_outside --pixel -1,0 $WORK/shot.png
2 not_two_integers --pixel 0,0 --pixel 3x4 $WORK/shot.png
2 not_one_of --pixel 0,0 --as cmyk $WORK/shot.png
2 needs_a_picture --pixel 0,0
ROWS

# Starts the program with the pointer off its window, so that no button is drawn hovered, and
# saves the main window's client area, once painted, as $1.
start_and_save_window() {
    local name="$1"
    shift
    xdotool mousemove 1023 767
    start_vantok Vantok "$@"
    expect_pixel $SWATCH "192,192,192" "swatch at start"
    import -window root -crop "${WIN_WIDTH}x${WIN_HEIGHT}+${WIN_X}+${WIN_Y}" +repage "$WORK/$name"
}

start_and_save_window plain.png
exit_through_button

# A picture that does not load: the window as at start, and one line naming it and why.
while IFS=: read -r name reason; do
    start_and_save_window "$name.shown.png" "$name"
    differing="$(compare -metric AE "$WORK/plain.png" "$WORK/$name.shown.png" null: 2>&1 || true)"
    [ "$differing" = 0 ] || fail "$name: the window differs from a plain start in $differing pixels"
    [ "$(grep -cxF "vantok: cannot load \"$name\": $reason" "$WORK/stderr")" = 1 ] ||
        fail "$name: stderr '$(cat "$WORK/stderr")'"
    exit_through_button
done <<'ROWS'
missing.png:there is no such file
broken.bmp:it is not a picture Vantok reads
cut.jpg:the file is cut short
ROWS

# Each picture shows exactly, the first pick reads its stored pixel, and Ctrl+C copies that. On
# the 16-bit PNG a pick where its transparent colour is then reads the box's back colour.
while read -r file copy width height stored then_at then_shown; do
    # Of several, the first is loaded; Qt's own options before them are Qt's.
    [ "$file" = shot.png ] && arguments=(-qwindowtitle Vantok "$file" shot.bmp) || arguments=("$file")
    start_vantok Vantok "${arguments[@]}"
    expect_pixel $((PIC_X + PICK[0])) $((PIC_Y + PICK[1])) "$stored" "$file shown"
    import -window root -crop "${width}x${height}+$((WIN_X + PIC_X))+$((WIN_Y + PIC_Y))" +repage \
        "$WORK/$file.shown.png"
    differing="$(compare -metric AE "$WORK/$copy" "$WORK/$file.shown.png" null: 2>&1 || true)"
    [ "$differing" = 0 ] || fail "$file: the shown picture differs in $differing pixels"
    click_at $((PIC_X + PICK[0])) $((PIC_Y + PICK[1]))
    expect_pixel $SWATCH "$stored" "$file picked"
    IFS=, read -r r g b <<<"$stored"
    expected="$(printf '#%02X%02X%02X' "$r" "$g" "$b")"
    xdotool key ctrl+c
    for _ in $(seq 50); do
        copied="$(xclip -o -selection clipboard 2>/dev/null || true)"
        [ "$copied" = "$expected" ] && break
        sleep 0.1
    done
    [ "$copied" = "$expected" ] || fail "$file: Ctrl+C copied '$copied', expected '$expected'"
    if [ -n "$then_at" ]; then
        IFS=, read -r x y <<<"$then_at"
        click_at $((PIC_X + x)) $((PIC_Y + y))
        expect_pixel $SWATCH "$then_shown" "$file picked at $then_at"
    fi
    grep -q '^vantok:' "$WORK/stderr" && fail "$file: stderr '$(cat "$WORK/stderr")'"
    exit_through_button
done <<<"$PICTURES"
echo "PASS: command line end to end"
