# SPDX-License-Identifier: GPL-3.0-or-later
# A headless sway session that serves the desktop portal's screenshots, with no display and no
# devices: sway's headless backend drawing with pixman, a session bus of its own, PipeWire (without
# which xdg-desktop-portal-wlr exits) and xdg-desktop-portal, which the bus starts when first asked.
# Source it, then:
#   start_portal_session WIDTH HEIGHT   one output of WIDTH × HEIGHT device pixels; sets SESSION
#   in_session COMMAND...               runs COMMAND in the session, as its user, in $SESSION
#   "${SESSION_RUN[@]}" COMMAND... &    the same, for a process of which $! is the id
# It ends with the script. sway refuses to run as root, so under root (as CI runs) the session runs
# as nobody, who may not read the clone: copy into $SESSION what it runs or reads. When the session
# cannot start, it says why and exits 77 (skipped). xdg-desktop-portal-wlr writes every screenshot
# to /tmp/out.png, so sessions take turns.

SESSION_LOCK=/tmp/vantok-portal-session.lock
SESSION_AS=()
SESSION_GROUPS=()

session_skip() {
    echo "SKIP: $*"
    tail -n 5 "${SESSION:-/nonexistent}"/*.log 2>/dev/null || true
    exit 77
}

# SESSION_RUN: the command that runs what follows it in the session, as its user, in $SESSION.
session_run() {
    SESSION_RUN=("${SESSION_AS[@]}" env -i -C "$SESSION" PATH=/usr/bin:/bin HOME="$SESSION"
        LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$SESSION/runtime" XDG_CURRENT_DESKTOP=sway
        DBUS_SESSION_BUS_ADDRESS="unix:path=$SESSION/runtime/bus" "$@")
}

in_session() {
    "${SESSION_RUN[@]}" "$@" 9<&-
}

# session_daemon LOG COMMAND...: starts COMMAND in the session, its output in $SESSION/LOG.log, as
# a process group of its own, which ends with the script together with what COMMAND started (the
# bus's services, sway's background).
session_daemon() {
    local log="$1"
    shift
    setsid "${SESSION_RUN[@]}" "$@" >"$SESSION/$log.log" 2>&1 9<&- &
    SESSION_GROUPS+=($!)
}

# Waits up to 10 s for COMMAND to succeed.
session_wait() {
    for _ in $(seq 100); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

stop_portal_session() {
    local group
    for group in "${SESSION_GROUPS[@]}"; do
        kill -- "-$group" 2>/dev/null || true
    done
    wait "${SESSION_GROUPS[@]}" 2>/dev/null || true
    rm -f /tmp/out.png
    [ -n "${SESSION:-}" ] && rm -rf "$SESSION"
}

start_portal_session() {
    local tool
    for tool in sway swaymsg pipewire grim dbus-daemon dbus-send /usr/libexec/xdg-desktop-portal \
        /usr/libexec/xdg-desktop-portal-wlr; do
        command -v "$tool" >/dev/null || session_skip "$tool is not installed"
    done
    [ -e "$SESSION_LOCK" ] || (umask 0 && : >"$SESSION_LOCK")
    exec 9<"$SESSION_LOCK"
    flock -w 60 9 || session_skip "another portal session held $SESSION_LOCK for a minute"
    rm -f /tmp/out.png || session_skip "/tmp/out.png belongs to another user"
    SESSION="$(mktemp -d /tmp/vantok-portal-session.XXXXXX)"
    trap stop_portal_session EXIT
    chmod 0755 "$SESSION"
    mkdir -m 0700 "$SESSION/runtime"
    cat >"$SESSION/config" <<EOF
xwayland disable
output * mode $1x$2 bg #000000 solid_color
default_border none
seat * hide_cursor 100
EOF
    if [ "$(id -u)" -eq 0 ]; then
        chown -R 65534:65534 "$SESSION"
        SESSION_AS=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    fi
    session_run

    local started=$EPOCHREALTIME socket
    session_daemon sway env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$SESSION/config"
    session_wait compgen -G "$SESSION/runtime/sway-ipc.*.sock" || session_skip "sway did not start"
    for socket in "$SESSION"/runtime/wayland-*; do
        [ -S "$socket" ] && session_run "WAYLAND_DISPLAY=${socket##*/}" \
            "SWAYSOCK=$(compgen -G "$SESSION/runtime/sway-ipc.*.sock")"
    done
    session_daemon bus dbus-daemon --session --nofork --nopidfile \
        --address="unix:path=$SESSION/runtime/bus"
    session_wait test -S "$SESSION/runtime/bus" || session_skip "the session bus did not start"
    session_daemon pipewire pipewire
    session_wait test -S "$SESSION/runtime/pipewire-0" || session_skip "PipeWire did not start"
    # The portal's backend first, on its own: started by the portal's first question, it may read
    # the portal's next question with the answer to its own request for its name, and then leave
    # it unanswered until D-Bus gives up 25 s later.
    in_session dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.StartServiceByName string:org.freedesktop.impl.portal.desktop.wlr \
        uint32:0 >/dev/null || session_skip "xdg-desktop-portal-wlr did not start"
    # The first question starts the portal, which offers screenshots only when some installed
    # portal (xdg-desktop-portal-gtk) offers the access dialog too.
    session_wait in_session dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop \
        /org/freedesktop/portal/desktop org.freedesktop.DBus.Properties.Get \
        string:org.freedesktop.portal.Screenshot string:version ||
        session_skip "xdg-desktop-portal offers no screenshots (is xdg-desktop-portal-gtk installed?)"
    echo "portal session ready in $(((${EPOCHREALTIME/./} - ${started/./}) / 1000)) ms"
}
