#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under Wine: CTest's cross-compiling emulator for the Windows build, and
# what its end-to-end tests start vantok.exe with.
#   wine-run.sh PROGRAM.exe [ARGUMENTS...]
# The Wine prefix (VANTOK_WINEPREFIX, default beside the static Qt in the cache) is made once:
# Windows 10, no crash dialog, no Mono or Gecko. A persistent wineserver keeps later starts quick.
set -euo pipefail

CACHE_DIR="${VANTOK_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/vantok}"
export WINEPREFIX="${VANTOK_WINEPREFIX:-$CACHE_DIR/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko to install, and no menu entries on the Linux desktop for Start-menu entries.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
WINE=/usr/lib/wine/wine64

if [ ! -f "$WINEPREFIX/.vantok-ready" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec {lock}>"$WINEPREFIX.lock"
    flock "$lock"
    if [ ! -f "$WINEPREFIX/.vantok-ready" ]; then
        echo "Making the Wine prefix $WINEPREFIX" >&2
        rm -rf "$WINEPREFIX"
        # Without a display wineboot would try to show its progress window.
        DISPLAY="" "$WINE" wineboot --init >/dev/null 2>&1
        "$WINE" winecfg /v win10 >/dev/null 2>&1
        "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            >/dev/null 2>&1
        /usr/lib/wine/wineserver -w
        touch "$WINEPREFIX/.vantok-ready"
    fi
    exec {lock}>&-
fi

# The first program a new wineserver runs starts Wine's services, which inherit its descriptors and
# outlive it: a pipe reading our output would never end. A throwaway program starts them instead,
# under the lock, so that a program started beside it (ninja runs two) waits until they run.
# What starts here must not inherit the lock either, or it would hold it as long as it runs.
exec {lock}>"$WINEPREFIX.lock"
flock "$lock"
if /usr/lib/wine/wineserver -p >/dev/null 2>&1 </dev/null {lock}>&-; then
    "$WINE" cmd /c exit >/dev/null 2>&1 </dev/null {lock}>&- || true
fi
exec {lock}>&-

# Wine keeps QT_* variables from Windows programs and passes WINEQT_* on without the prefix.
while IFS='=' read -r name _; do
    [[ "$name" == QT_* ]] && export "WINE$name=${!name}"
done < <(env)
# Qt Test writes to the debugger channel when there is no console.
export WINEQT_FORCE_STDERR_LOGGING=1
# The offscreen platform finds no fonts in the prefix.
export WINEQT_QPA_FONTDIR="${WINEQT_QPA_FONTDIR:-Z:\\usr\\share\\fonts\\truetype\\dejavu}"

exec "$WINE" "$@"
