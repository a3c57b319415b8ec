#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A folder of damaged pictures walked through the real chooser with the Down key. After every file
# the program lives and answers a pick on Pic1 with the colour of the last picture that loaded, so
# a wrong load, a lost key or a listed folder, named pipe, socket or link to a device shows at the
# next good picture; a link to a good picture loads it. One file is removed after the chooser
# listed it, and one replaced by a named pipe, which must not keep the program waiting. At the end
# the process's peak memory stays under the picture size limit plus a margin, and "EXIT" ends it
# cleanly.
source "$(dirname "$0")/lib.sh"

GENERATOR="${VANTOK_BROKEN_PICTURES:?path to make_broken_pictures}"
# Lines of "name expectation [left right]", in the order the chooser lists the files.
MANIFEST="$("$GENERATOR" "$WORK")" || fail "the generator failed"

SWATCH="20 12"
PIC_X=58 PIC_Y=2  # Pic1's inner top-left in the main window
LEFT_POINT=(5 5) RIGHT_POINT=(30 20)  # inside both halves of every good picture

start_vantok Vantok
click_at 28 140  # FILE
wait_window "Files "
FILES_WID="$FOUND_WID"
xdotool windowfocus --sync "$FILES_WID"
# Tab order: drive list, directory list, file list, pattern box. "*" lists every file.
xdotool key --window "$FILES_WID" Tab Tab Tab ctrl+a
xdotool type --window "$FILES_WID" '*'
xdotool key --window "$FILES_WID" shift+Tab

# Presses on Pic1 at `side` and waits until the swatch shows `expected`, or, when it is empty,
# the colour drawn at that point. Polls, so a quick answer costs one screen read.
pick_and_expect() {
    local side="$1" expected="$2" step="$3" x y got shown=""
    if [ "$side" = left ]; then
        x=${LEFT_POINT[0]} y=${LEFT_POINT[1]}
    else
        x=${RIGHT_POINT[0]} y=${RIGHT_POINT[1]}
    fi
    x=$((PIC_X + x)) y=$((PIC_Y + y))
    xdotool mousemove --window "$MAIN_WID" "$x" "$y" mousedown 1 mouseup 1
    for _ in $(seq 100); do
        [ -n "$expected" ] || shown="$(pixel_at "$x" "$y")"
        got="$(pixel_at $SWATCH)"
        [ "$got" = "${expected:-$shown}" ] && return 0
        sleep 0.03
    done
    kill -0 "$VANTOK_PID" 2>/dev/null || fail "$step: the program ended"
    fail "$step: a pick on the $side half gave $got, expected ${expected:-$shown (as drawn)}"
}

WID="$MAIN_WID"
left="" right=""  # the last picture that loaded; empty when its colours are not known
side=left
steps=0
while read -r name expectation shows_left shows_right; do
    [ -n "$name" ] || continue
    if [ "$expectation" = vanishes ] || [ "$expectation" = becomes-fifo ]; then
        # Gone before the watcher's re-read: the Down either selects the name, which fails to
        # load, or passes on to the next file, which does not load either.
        rm "$WORK/$name"
        [ "$expectation" = vanishes ] || mkfifo "$WORK/$name"
    fi
    # Qt sends keys to the window with the input focus, which the pick gave to the main window.
    xdotool windowfocus --sync "$FILES_WID" key --window "$FILES_WID" Down
    kill -0 "$VANTOK_PID" 2>/dev/null || fail "$name ended the program"
    case "$expectation" in
        shows) left="$shows_left" right="$shows_right" ;;
        either) left="" right="" ;;
        keeps | vanishes | becomes-fifo) ;;
        *) fail "unknown expectation '$expectation' for $name" ;;
    esac
    if [ "$side" = left ]; then expected="$left"; else expected="$right"; fi
    pick_and_expect "$side" "$expected" "$name"
    if [ "$side" = left ]; then side=right; else side=left; fi
    steps=$((steps + 1))
done <<<"$MANIFEST"
[ "$steps" -gt 100 ] || fail "only $steps files were walked"

# After the re-read the selected file may be gone from the list; the keys still work.
sleep 0.3
xdotool windowfocus --sync "$FILES_WID" key --window "$FILES_WID" Up
kill -0 "$VANTOK_PID" 2>/dev/null || fail "Up after the removal ended the program"
pick_and_expect left "" "Up after the removal"

echo "walked $steps files"
expect_peak_memory_within_limit

exit_through_button
echo "PASS: broken pictures walked through the chooser"
