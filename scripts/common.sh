# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by run.sh and test.sh: install what is missing, then configure and build into build/.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${VANTOK_BUILD_DIR:-$ROOT/build}"

BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-image-formats-plugins libgl-dev
    libbenchmark-dev clang-format)
# For the Debian package: dpkg-shlibdeps (dpkg-dev) and file, which CPack uses to find binaries.
PACKAGING_PACKAGES=(dpkg-dev file lintian help2man)

# Installs the named Debian packages that are not installed yet.
ensure_packages() {
    local missing=()
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# Configures $BUILD the first time, with the arguments given.
configure_vantok() {
    if [ ! -f "$BUILD/build.ninja" ]; then
        cmake -S "$ROOT" -B "$BUILD" -G Ninja "$@"
    fi
}

# Configures (first time only) and builds incrementally.
build_vantok() {
    configure_vantok "$@"
    cmake --build "$BUILD"
}

# Starts Xvfb on the first free display number from $1 to $2, waits until it answers, and stops it
# again when the script exits. Sets XVFB_DISPLAY and XVFB_PID.
# -noreset: by default the server resets whenever its last client disconnects, and a program
# connecting meanwhile is refused; tests connect and disconnect short-lived clients all the time.
# A number another script took at the same moment is told by the lock file, which holds the PID of
# the server that owns it.
start_xvfb() {
    local n
    for n in $(seq "$1" "$2"); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 100); do
            kill -0 "$XVFB_PID" 2>/dev/null || break  # the number was taken after all
            if [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")" = "$XVFB_PID" ] &&
                xdpyinfo -display ":$n" >/dev/null 2>&1; then
                XVFB_DISPLAY=":$n"
                trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
                return 0
            fi
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null || true
    done
    echo "Xvfb did not start on any display from :$1 to :$2" >&2
    return 1
}
