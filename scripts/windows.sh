#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Vantok for 64-bit Windows with MinGW-w64 and a static Qt built from Debian's source:
# build-windows/vantok.exe (one file, no DLL beside it), the zip and the NSIS installer.
#   ./scripts/windows.sh          installs what is missing, builds Qt once, then Vantok and both packages
#   ./scripts/windows.sh --qt     only the static Qt (the long step; it is cached)
#   VANTOK_CACHE_DIR         where the static Qt is kept (default ~/.cache/vantok)
#   VANTOK_WINDOWS_BUILD_DIR the Vantok build tree (default build-windows/)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$ROOT/scripts/windows-common.sh"

ONLY_QT=""
case "${1:-}" in
    "") ;;
    --qt) ONLY_QT=yes ;;
    *)
        echo "usage: $0 [--qt]" >&2
        exit 2
        ;;
esac

export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=true

ensure_windows_packages
build_windows_qt
[ -n "$ONLY_QT" ] && exit 0

echo "== Vantok for Windows in $WINDOWS_BUILD"
build_windows_vantok vantok vantok_windows_packages
echo "DLLs vantok.exe imports (all of them part of Windows):"
x86_64-w64-mingw32-objdump -p "$WINDOWS_BUILD/vantok.exe" | sed -n 's/^\s*DLL Name: /  /p' | sort
ls -l "$WINDOWS_BUILD/vantok.exe" "$WINDOWS_BUILD"/vantok-*-windows-x64.zip "$WINDOWS_BUILD"/vantok-*-setup.exe
