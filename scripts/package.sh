#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds a Release tree in build-package/ with Debian's hardening flags, makes the Debian package
# with CPack (vantok_<version>-<revision>_<architecture>.deb, in the source root) and checks it with
# lintian, failing on any error lintian reports.
#   VANTOK_PACKAGE_BUILD_DIR  the build tree (default build-package/)
#   VANTOK_PACKAGE_OUT_DIR    where the package is put (default: the source root)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
BUILD="${VANTOK_PACKAGE_BUILD_DIR:-$ROOT/build-package}"
OUT="${VANTOK_PACKAGE_OUT_DIR:-$ROOT}"

ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGING_PACKAGES[@]}"

# Debian's compiler and linker flags, with every hardening feature; no debugging information, as
# the package ships its binary stripped.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS | sed 's/\(^\| \)-g\( \|$\)/ /') $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS

echo "== Build (Release) in $BUILD"
if [ ! -f "$BUILD/build.ninja" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
        -DBUILD_TESTING=OFF -DVANTOK_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$BUILD"

echo "== Package"
rm -rf "$BUILD/packages"
(cd "$BUILD" && cpack -G DEB >/dev/null)
packages=("$BUILD"/packages/*.deb)
[ ${#packages[@]} -eq 1 ] && [ -f "${packages[0]}" ] || {
    echo "CPack made ${#packages[@]} packages, expected one" >&2
    exit 1
}
mkdir -p "$OUT"
deb="$OUT/$(basename "${packages[0]}")"
cp "${packages[0]}" "$deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'

# lintian fails on errors; warnings are listed in the README with their reasons.
echo "== lintian"
lintian --fail-on error --display-info "$deb"
echo "Package: $deb"
