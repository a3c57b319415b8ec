# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by windows.sh and test.sh: the static Qt for MinGW-w64, the Windows build of Vantok and
# the Wine prefix its tests run in. Source common.sh first.

WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 nsis dpkg-dev
    xz-utils patch cmake ninja-build qt6-base-dev fonts-dejavu-core ccache)
WINDOWS_BUILD="${VANTOK_WINDOWS_BUILD_DIR:-$ROOT/build-windows}"
CACHE_DIR="${VANTOK_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/vantok}"
TOOLCHAIN_SOURCE="$ROOT/cmake/mingw-w64-x86_64.cmake"

# What the static Qt is configured with; the cache key hashes these, the toolchain file, the
# compiler's version and the source package's, so a change to any of them builds a new Qt.
# Debian's source leaves out src/3rdparty/wintab (tablet events); INPUT_opengl=no is what turns
# off the dynamic OpenGL FEATURE_opengl=OFF leaves on; with Direct2D off, DirectWrite 3 fails to
# link. The rest keeps to what Vantok uses: Core, Gui, Widgets, Test and the bundled libraries.
QT_OPTIONS=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=OFF
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_tabletevent=OFF
    -DINPUT_opengl=no
    -DFEATURE_opengl=OFF
    -DFEATURE_vulkan=OFF
    -DFEATURE_direct2d=OFF
    -DFEATURE_directwrite3=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_network=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_testlib=ON
    -DFEATURE_pkg_config=OFF
    -DFEATURE_zstd=OFF
    -DFEATURE_icu=OFF
    -DFEATURE_freetype=ON
    -DFEATURE_harfbuzz=ON
    -DFEATURE_system_zlib=OFF
    -DFEATURE_system_png=OFF
    -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_freetype=OFF
    -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_doubleconversion=OFF
)

ensure_windows_packages() {
    # apt-get source needs a deb-src line for the suites the deb lines name.
    if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        local sudo=()
        [ "$(id -u)" -ne 0 ] && sudo=(sudo)
        echo "Adding Debian's source packages to apt's sources"
        printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' \
            'Suites: bookworm bookworm-updates' 'Components: main' \
            'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
            "${sudo[@]}" tee /etc/apt/sources.list.d/vantok-src.sources >/dev/null
        "${sudo[@]}" apt-get update -qq
    fi
    ensure_packages "${WINDOWS_PACKAGES[@]}"
}

# The host Qt's Debian version (6.4.2+dfsg-10): its moc, rcc and uic build the Windows Qt, which
# must therefore be the same source.
host_qt_version() {
    dpkg-query -W -f='${Version}' qt6-base-dev
}

qt_cache_key() {
    local version
    version="$(host_qt_version)"
    local hash
    hash="$({
        echo "$version"
        printf '%s\n' "${QT_OPTIONS[@]}"
        cat "$TOOLCHAIN_SOURCE"
        x86_64-w64-mingw32-g++-posix -dumpfullversion
    } | sha256sum | cut -c1-10)"
    echo "qt-${version%%+*}-mingw64-static-$hash"
}

# Sets QT_PREFIX to the static Qt's install folder, building it first unless the cache has it.
# A finished install holds the marker file; anything else there is a half build and starts again.
build_windows_qt() {
    local key
    key="$(qt_cache_key)"
    QT_PREFIX="$CACHE_DIR/$key"
    local marker="$QT_PREFIX/.vantok-complete"
    [ -f "$marker" ] && return 0

    mkdir -p "$CACHE_DIR"
    # Two runs on the same machine (CI beside a developer) must not build into one folder at once.
    exec {lock}>"$CACHE_DIR/$key.lock"
    flock -n "$lock" || {
        echo "Another run is building $key; waiting for it" >&2
        flock "$lock"
    }
    if [ -f "$marker" ]; then
        exec {lock}>&-
        return 0
    fi

    local work="$CACHE_DIR/$key.work"
    local log="$CACHE_DIR/$key.log"
    echo "== Static Qt for Windows: $key (first time only; about 35 minutes on 2 cores)"
    echo "   log: $log"
    rm -rf "$work" "$QT_PREFIX"
    mkdir -p "$work" "$QT_PREFIX"
    cp "$TOOLCHAIN_SOURCE" "$QT_PREFIX/mingw-w64-x86_64.cmake"

    local version
    version="$(host_qt_version)"
    (cd "$work" && apt-get source --download-only "qt6-base=$version" >/dev/null 2>&1)
    tar -C "$work" -xJf "$work"/qt6-base_*.orig.tar.xz
    tar -C "$work" -xJf "$work"/qt6-base_*.debian.tar.xz debian/patches
    local src
    src="$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qtbase*')"
    # Upstream's security fixes only: Debian's own patches are about its Linux packaging.
    local patch
    for patch in $(sed -n '/^# Debian specific/q;/^[^#]/p' "$work/debian/patches/series"); do
        patch -d "$src" -p1 -s <"$work/debian/patches/$patch"
    done

    echo "Configuring"
    cmake -S "$src" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$QT_PREFIX/mingw-w64-x86_64.cmake" \
        -DCMAKE_INSTALL_PREFIX="$QT_PREFIX" "${QT_OPTIONS[@]}" >"$log" 2>&1 || {
        tail -40 "$log" >&2
        return 1
    }
    echo "Building"
    # Ninja's [done/total] status, shown each time the percentage moves; the full output is logged.
    NINJA_STATUS='[%f/%t] ' cmake --build "$work/build" 2>&1 | tee -a "$log" |
        awk -F'[][/]' '/^\[[0-9]+\/[0-9]+\]/ {
            p = int(100 * $2 / $3)
            if (p != last) { printf "  %3d%%  %s/%s\n", p, $2, $3; fflush(); last = p }
        }'
    [ "${PIPESTATUS[0]}" -eq 0 ] || {
        grep -B2 -A20 -m1 'FAILED:' "$log" >&2 || tail -40 "$log" >&2
        return 1
    }
    cmake --install "$work/build" >>"$log" 2>&1
    touch "$marker"
    rm -rf "$work"
    exec {lock}>&-
    echo "Static Qt installed in $QT_PREFIX"
}

# Configures (first time only) and builds the Windows tree with the static Qt; the arguments are
# the targets, all of them when none. Tests and build steps that run Windows programs (the icon
# maker) go through Wine.
build_windows_vantok() {
    if [ ! -f "$WINDOWS_BUILD/build.ninja" ]; then
        cmake -S "$ROOT" -B "$WINDOWS_BUILD" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$QT_PREFIX/lib/cmake/Qt6/qt.toolchain.cmake" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s \
            -DCMAKE_CROSSCOMPILING_EMULATOR="$ROOT/scripts/wine-run.sh" \
            -DCMAKE_CXX_COMPILER_LAUNCHER="$(command -v ccache || true)" \
            -DVANTOK_BENCHMARKS=OFF >/dev/null
    fi
    local targets=()
    for target in "$@"; do targets+=(--target "$target"); done
    cmake --build "$WINDOWS_BUILD" "${targets[@]}"
}
