#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# "PASTE" from a clipboard that fails: its owner has gone away or stopped answering, it offers a
# picture far over the size limit, or bytes that are no picture. Each time the program lives, Pic1
# is left without a picture, and the window answers the next pick.
source "$(dirname "$0")/lib.sh"

GENERATOR="${VANTOK_BROKEN_PICTURES:?path to make_broken_pictures}"
MANIFEST="$("$GENERATOR" "$WORK/pictures")" || fail "the generator failed"
read -r GOOD _ GOOD_LEFT _ <<<"$(grep -- '-good.png ' <<<"$MANIFEST")"
GOOD="$WORK/pictures/$GOOD"
picture() { echo "$WORK/pictures/$(grep -o -- "^[0-9]*-$1 " <<<"$MANIFEST" | tr -d ' ')"; }

SWATCH="20 12"
POINT="$((58 + 5)) $((2 + 5))"  # inside Pic1, and inside any picture the tests paste
EMPTY="192,192,192"             # an empty Pic1 shows its back colour, and a pick reads it
OWNER=""

# Makes xclip the clipboard owner offering file $2 as type $1, once it answers with that type.
offer() {
    xclip -quiet -selection clipboard -t "$1" -i "$2" >/dev/null 2>&1 &
    OWNER=$!
    wait_clipboard_offers "$1"
}

stop_owner() {
    if [ -n "$OWNER" ]; then
        kill -CONT "$OWNER" 2>/dev/null || true
        kill "$OWNER" 2>/dev/null || true
        wait "$OWNER" 2>/dev/null || true
    fi
    OWNER=""
}

# A good picture in Pic1 and its colour in the swatch, so that what follows must change both.
paste_good() {
    stop_owner
    offer image/png "$GOOD"
    click_at 28 164  # PASTE
    expect_pixel $POINT "$GOOD_LEFT" "$1: the good picture pasted first"
    click_at $POINT
    expect_pixel $SWATCH "$GOOD_LEFT" "$1: a pick on the good picture"
    stop_owner
}

# "PASTE" has left Pic1 without a picture, and a pick answers with its back colour.
expect_empty_after_paste() {
    kill -0 "$VANTOK_PID" 2>/dev/null || fail "$1: the program ended"
    expect_pixel $POINT "$EMPTY" "$1: Pic1 without a picture"
    click_at $POINT
    expect_pixel $SWATCH "$EMPTY" "$1: a pick on the empty Pic1"
}

start_vantok Vantok

paste_good "owner gone"
offer image/png "$GOOD"
stop_owner
click_at 28 164
expect_empty_after_paste "owner gone"

# An owner that holds the clipboard but never answers costs one request's timeout (5 s in Qt's
# X11 clipboard), not one per picture format Qt knows.
paste_good "owner not answering"
offer image/png "$GOOD"
kill -STOP "$OWNER"
click_at 28 164
started=$SECONDS
for _ in $(seq 150); do
    [ "$(pixel_at $POINT)" = "$EMPTY" ] && break
    sleep 0.1
done
waited=$((SECONDS - started))
echo "PASTE with an owner not answering returned after about $waited s"
[ "$waited" -le 12 ] || fail "PASTE with an owner not answering blocked the window for $waited s"
stop_owner
expect_empty_after_paste "owner not answering"

for offered in "image/png png-60000.png" "image/png png-12000-1-bit.png" \
    "image/png png-cut-00054.png" "image/bmp bmp-cut-00070.bmp" "image/bmp text.bmp"; do
    read -r type name <<<"$offered"
    file="$(picture "$name")"
    [ -f "$file" ] || fail "the generator wrote no $name"
    paste_good "$name as $type"
    offer "$type" "$file"
    click_at 28 164
    expect_empty_after_paste "$name as $type"
    stop_owner
done

head -c 4096 /dev/urandom >"$WORK/random.png"
paste_good "random bytes"
offer image/png "$WORK/random.png"
click_at 28 164
expect_empty_after_paste "random bytes as image/png"
stop_owner

expect_peak_memory_within_limit

exit_through_button
echo "PASS: PASTE survives a failing clipboard"
