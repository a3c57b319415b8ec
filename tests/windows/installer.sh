#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer under Wine, silently, for the current user and then for all users: the files, the
# Start-menu entry, the Apps & features entry and "Open with" are there, the installed vantok.exe
# starts and shows a picture named on its command line, and the uninstaller leaves nothing behind.
# Runs in a copy of the test prefix, so a failure leaves the shared one as it was.
#   installer.sh SETUP.EXE   (VANTOK_RUNNER runs Windows programs)
source "$(dirname "$0")/../e2e/lib.sh"
: "${VANTOK_RUNNER:?the program that runs Windows programs}"
SETUP="$(readlink -f "${2:?path to the setup program}")"
[ -f "$SETUP" ] || { echo "SKIP: no $SETUP (made by scripts/windows.sh)"; exit 77; }

SHARED_PREFIX="${VANTOK_WINEPREFIX:-${VANTOK_CACHE_DIR:-$HOME/.cache/vantok}/wine-prefix}"
"$VANTOK_RUNNER" cmd /c exit  # makes the shared prefix the first time
export VANTOK_WINEPREFIX="$WORK/prefix"
cp -a "$SHARED_PREFIX" "$VANTOK_WINEPREFIX"
test_cleanup() { WINEPREFIX="$VANTOK_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true; }
wine() { "$VANTOK_RUNNER" "$@"; }
# Windows paths as Linux ones; cmd prints them with a carriage return.
unix_path() { WINEPREFIX="$VANTOK_WINEPREFIX" /usr/lib/wine/wine64 winepath -u "$1" 2>/dev/null; }
expand() { wine cmd /c echo "$1" | tr -d '\r"'; }

# The registry and the file tree as text, to compare before and after.
snapshot() {
    WINEPREFIX="$VANTOK_WINEPREFIX" /usr/lib/wine/wineserver -k  # writes the registry out
    (cd "$VANTOK_WINEPREFIX/drive_c" && find . | sort) >"$1.files"
    grep -ih vantok "$VANTOK_WINEPREFIX"/*.reg >"$1.registry" || true
}

reg_value() {  # key value: the data, or nothing
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v {print $3}'
}

convert -size 16x10 xc:'rgb(90,45,180)' "BMP3:$WORK/shown.bmp"

check_mode() {
    local mode="$1" root="$2" programs="$3"
    snapshot "$WORK/before-$mode"

    local started=$SECONDS
    wine "$SETUP" /S "/$mode" || fail "$mode: the installer failed"
    echo "$mode: installed in $((SECONDS - started)) s"
    local dir
    dir="$(unix_path "$programs\\Vantok")"
    [ -f "$dir/vantok.exe" ] || fail "$mode: no vantok.exe in $dir"
    [ -f "$dir/uninstall.exe" ] || fail "$mode: no uninstaller in $dir"
    local menu
    menu="$(unix_path "$(expand "$4")\\Vantok.lnk")"
    [ -f "$menu" ] || fail "$mode: no Start-menu entry $menu"
    [ -f "${menu%/*}/Pick a Colour from the Screen.lnk" ] || fail "$mode: no Start-menu entry to pick"

    local uninstall="$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantok"
    [ "$(reg_value "$uninstall" DisplayVersion)" = "3.52" ] ||
        fail "$mode: Apps & features has no Vantok 3.52"
    wine reg query "$uninstall" /v UninstallString | grep -q "uninstall.exe" ||
        fail "$mode: no uninstall command"
    # Offered for each type, default of none.
    for ext in .bmp .pcx .png .jpg .gif .ico .ppm; do
        wine reg query "$root\\Software\\Classes\\$ext\\OpenWithProgids" /v Vantok.Picture \
            >/dev/null 2>&1 || fail "$mode: not offered for $ext"
        wine reg query "$root\\Software\\Classes\\$ext" /ve 2>/dev/null | grep -qi vantok &&
            fail "$mode: took the default for $ext"
    done

    # The installed program starts and shows the picture its command line names.
    VANTOK="$dir/vantok.exe"
    start_vantok Vantok shown.bmp
    expect_pixel $((58 + 8)) $((2 + 5)) "90,45,180" "$mode: picture from the command line"
    exit_through_button

    wine "$dir/uninstall.exe" /S "/$mode" || fail "$mode: the uninstaller failed"
    # The uninstaller runs on from a copy of itself in the temporary folder.
    for _ in $(seq 300); do
        [ -e "$dir" ] || break
        sleep 0.1
    done
    [ ! -e "$dir" ] || fail "$mode: $dir is still there"
    sleep 1
    snapshot "$WORK/after-$mode"
    # Wine's own temporary and system files aside, and the per-user programs folder, which
    # Windows has from the start and Wine makes on first use.
    diff "$WORK/before-$mode.files" "$WORK/after-$mode.files" | grep '^[<>]' |
        grep -iv '/temp\(/\|$\)\|^. ./windows/\|^> ./users/[^/]*/AppData/Local/Programs$' &&
        fail "$mode: files changed by installing and uninstalling"
    diff -u "$WORK/before-$mode.registry" "$WORK/after-$mode.registry" ||
        fail "$mode: the registry keeps Vantok's keys"
    echo "$mode: installed, started and uninstalled"
}

check_mode CurrentUser HKCU "$(expand '%LOCALAPPDATA%')\\Programs" '%APPDATA%\Microsoft\Windows\Start Menu\Programs'
check_mode AllUsers HKLM "$(expand '%ProgramW6432%')" '%ProgramData%\Microsoft\Windows\Start Menu\Programs'
echo "PASS: installer under Wine"
