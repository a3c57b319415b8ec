#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a user gets it: made by scripts/package.sh (which fails on lintian errors),
# unpacked with dpkg-deb into a scratch root, its documents, desktop entry and AppStream file
# checked, every library its binary needs named by a dependency, and the unpacked binary started
# on the Xvfb display until its window shows. It builds a Release tree, so it runs only when
# VANTOK_PACKAGE_TEST is set (scripts/test.sh --full sets it); exits 77 (skipped) otherwise.
#   test_package.sh <source root> <scratch directory>
set -euo pipefail
SOURCE="$(realpath "${1:?source root}")"
SCRATCH="${2:?scratch directory}"

if [ -z "${VANTOK_PACKAGE_TEST:-}" ]; then
    echo "SKIP: builds a Release tree; set VANTOK_PACKAGE_TEST=1 to run it"
    exit 77
fi
if ! DISPLAY="${VANTOK_E2E_DISPLAY:-${DISPLAY:-}}" xdpyinfo >/dev/null 2>&1; then
    echo "SKIP: no X display (run through scripts/test.sh --full)"
    exit 77
fi

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$SCRATCH/root" "$SCRATCH"/*.deb  # the build tree is kept, for a quicker next run
mkdir -p "$SCRATCH"
VANTOK_PACKAGE_BUILD_DIR="$SCRATCH/build" VANTOK_PACKAGE_OUT_DIR="$SCRATCH" \
    "$SOURCE/scripts/package.sh" || fail "scripts/package.sh failed"
debs=("$SCRATCH"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package in $SCRATCH"
DEB="${debs[0]}"
VERSION="$(dpkg-deb -f "$DEB" Version)"
[ "$(basename "$DEB")" = "vantok_${VERSION}_$(dpkg --print-architecture).deb" ] ||
    fail "the package is named $(basename "$DEB")"

INSTALLED="$SCRATCH/root"
dpkg-deb -x "$DEB" "$INSTALLED"
BINARY="$INSTALLED/usr/bin/vantok"
APP_ID=org.vantok.Vantok
for file in usr/bin/vantok usr/share/applications/$APP_ID.desktop \
    usr/share/metainfo/$APP_ID.metainfo.xml usr/share/doc/vantok/copyright \
    usr/share/doc/vantok/changelog.Debian.gz; do
    [ -f "$INSTALLED/$file" ] || fail "the package lacks /$file"
done
for size in 16 32 64 128; do
    icon="$INSTALLED/usr/share/icons/hicolor/${size}x$size/apps/$APP_ID.png"
    [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x$size" ] ||
        fail "no ${size}x$size icon at /${icon#"$INSTALLED/"}"
done

# The documents Debian wants: a machine-readable copyright file and a changelog whose latest entry
# is this version.
head -1 "$INSTALLED/usr/share/doc/vantok/copyright" |
    grep -qxF 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
changelog_version="$(zcat "$INSTALLED/usr/share/doc/vantok/changelog.Debian.gz" |
    dpkg-parsechangelog -l - -S Version)"
[ "$changelog_version" = "$VERSION" ] ||
    fail "the changelog's latest entry is $changelog_version, the package $VERSION"

desktop-file-validate "$INSTALLED/usr/share/applications/$APP_ID.desktop" ||
    fail "the unpacked desktop entry is not valid"
appstreamcli validate --no-net "$INSTALLED/usr/share/metainfo/$APP_ID.metainfo.xml" ||
    fail "the unpacked AppStream file is not valid"

# Every library the binary names is owned by a package that Depends names.
DEPENDS="$(dpkg-deb -f "$DEB" Depends)"
echo "Depends: $DEPENDS"
mapfile -t depended < <(tr ',|' '\n\n' <<<"$DEPENDS" | sed 's/(.*//; s/:.*//; s/[[:space:]]//g')
mapfile -t needed < <(readelf -d "$BINARY" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p')
[ ${#needed[@]} -gt 0 ] || fail "readelf lists no library that the binary needs"
for soname in "${needed[@]}"; do
    path="$(ldd "$BINARY" | awk -v soname="$soname" '$1 == soname { print $3 }')"
    [ -n "$path" ] || fail "the loader finds no $soname"
    owner=""
    # With merged /usr, dpkg may know the library by the other of its two names.
    for candidate in "$path" "$(realpath "$path")" "/usr$path" "${path#/usr}"; do
        owner="$(dpkg -S "$candidate" 2>/dev/null |
            sed -n 's/^\([^:,]*\)\(:[^:]*\)\?: .*/\1/p' | head -1 || true)"
        [ -n "$owner" ] && break
    done
    [ -n "$owner" ] || fail "no installed package owns $path ($soname)"
    printf '%s\n' "${depended[@]}" | grep -qxF "$owner" ||
        fail "$soname comes from $owner, which Depends does not name"
    echo "$soname: $owner"
done

# The manual page tells every option that --help tells, written as groff writes a dash.
MAN_PAGE="$(zcat "$INSTALLED/usr/share/man/man1/vantok.1.gz")" ||
    fail "the package lacks /usr/share/man/man1/vantok.1.gz"
mapfile -t options < <("$BINARY" --help | grep -oE '^ +-[^ ]+( +--[a-z-]+)?' | grep -oE -- '-[a-z?-]+')
[ ${#options[@]} -ge 4 ] || fail "--help lists only ${options[*]}"
for option in "${options[@]}"; do
    grep -qF -- "${option//-/\\-}" <<<"$MAN_PAGE" || fail "the manual page lacks $option"
done

# The unpacked binary shows its window and ends on "EXIT".
source "$SOURCE/tests/e2e/lib.sh" "$BINARY"
start_vantok Vantok
exit_through_button
echo "PASS: the package builds, passes lintian, unpacks and runs"
