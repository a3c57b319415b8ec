#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Taking a colour from the screen on Wayland, through the desktop portal, in a headless sway
# session (portal_session.sh) whose background is a picture whose every pixel tells its place,
# shown one picture pixel per device pixel. Each take starts `vantok --grab`, waits for the frozen
# screen, presses there through the compositor's virtual pointer, and reads the swatch back with
# grim: it must show the very device pixel pressed. At output scale 1, and at scale 2, where the
# four device pixels of one logical pixel must each come back as themselves. The portal's file,
# a picture of the screen, must not stay behind. Exits 77 (skipped) only when the session cannot
# start.
set -euo pipefail

VANTOK="$(realpath "${1:?path to the vantok program}")"
HERE="$(dirname "$(realpath "${BASH_SOURCE[0]}")")"
MAKE_PICTURE="${VANTOK_COORDINATE_PICTURE:?path to make_coordinate_picture}"
# shellcheck source=portal_session.sh
source "$HERE/portal_session.sh"

WIDTH=800
HEIGHT=600
FROZEN="Pick a colour from the screen"
VANTOK_PID=""

fail() {
    echo "FAIL: $*" >&2
    echo "--- vantok's stderr:" >&2
    cat "$SESSION/vantok.err" >&2 2>/dev/null || true
    exit 1
}

milliseconds_since() {
    echo "$(((${EPOCHREALTIME/./} - ${1/./}) / 1000)) ms"
}

# Prints where the content of the visible window titled $1 starts, in logical pixels.
window_at() {
    in_session swaymsg -t get_tree | python3 -c '
import json, sys
def find(node):
    if node.get("name") == sys.argv[1] and node.get("visible"):
        print(node["rect"]["x"] + node["window_rect"]["x"], node["rect"]["y"] + node["window_rect"]["y"])
        sys.exit(0)
    for child in node["nodes"] + node["floating_nodes"]:
        find(child)
find(json.load(sys.stdin))
sys.exit(1)' "$1"
}

# Whether the main window's swatch shows "r,g,b" $1; what it shows is left in SEEN.
swatch_shows() {
    local x y
    read -r x y < <(window_at Vantok) || return 1
    SEEN="$(in_session grim -t ppm -g "$((x + 20)),$((y + 15)) 1x1" - | tail -c 3 | od -An -tu1 |
        awk '{ print $1 "," $2 "," $3 }')"
    [ "$SEEN" = "$1" ]
}

# Takes the pattern's device pixel DX, DY by a press at logical X, Y.
take() {
    local x="$1" y="$2" dx="$3" dy="$4" started=$EPOCHREALTIME
    local expected="$((dx & 255)),$((dy & 255)),$(((dx >> 8 & 15) | (dy >> 8 & 15) << 4))"
    "${SESSION_RUN[@]}" QT_QPA_PLATFORM=wayland ./vantok --grab 2>>"$SESSION/vantok.err" 9<&- &
    VANTOK_PID=$!
    session_wait window_at "$FROZEN" || fail "no frozen screen within 10 s"
    echo "click $x $y" >&8
    SEEN=""
    session_wait swatch_shows "$expected" ||
        fail "a press at $x, $y took ${SEEN:-nothing}, not device pixel $dx, $dy ($expected)"
    [ ! -e /tmp/out.png ] || fail "the portal's screenshot file stayed behind in /tmp"
    echo "device pixel $dx, $dy taken at $x, $y: $expected, $(milliseconds_since "$started") from start"
    kill "$VANTOK_PID"
    wait "$VANTOK_PID" 2>/dev/null || true
    VANTOK_PID=""
}

# One virtual pointer for a whole scale, made before the program starts, so that its windows have
# a pointer from the first.
pointer_for_scale() {
    exec 8>&-
    in_session swaymsg output '*' scale "$1" >/dev/null
    "${SESSION_RUN[@]}" python3 virtual_pointer.py $((WIDTH / $1)) $((HEIGHT / $1)) \
        <"$SESSION/pointer" >>"$SESSION/pointer.log" 2>&1 9<&- &
    exec 8>"$SESSION/pointer"
}

test_started=$EPOCHREALTIME
start_portal_session "$WIDTH" "$HEIGHT"
trap '[ -z "$VANTOK_PID" ] || kill "$VANTOK_PID"; exec 8>&-; stop_portal_session' EXIT
cp "$VANTOK" "$HERE/virtual_pointer.py" "$SESSION/"
"$MAKE_PICTURE" "$WIDTH" "$HEIGHT" "$SESSION/pattern.ppm"
mkfifo "$SESSION/pointer"
chmod a+r "$SESSION/vantok" "$SESSION/virtual_pointer.py" "$SESSION/pattern.ppm" "$SESSION/pointer"
in_session swaymsg output '*' bg "$SESSION/pattern.ppm" center '#000000' >/dev/null

pointer_for_scale 1
take 300.5 280.5 300 280
take 301.5 280.5 301 280
take 517.5 411.5 517 411

pointer_for_scale 2
take 150.25 140.25 300 280
take 150.75 140.25 301 280
take 150.25 140.75 300 281
take 150.75 140.75 301 281

grep -v '^vantok.grab: reading the screen through' "$SESSION/vantok.err" | grep . &&
    fail "unexpected messages on stderr"
echo "PASS: every take on Wayland was the device pixel pressed, in $(milliseconds_since "$test_started")"
