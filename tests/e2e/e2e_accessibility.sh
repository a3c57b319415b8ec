#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Both windows read through the accessibility bus, as a screen reader reads them: on a session
# bus of the test's own, with the accessibility bus launched on it and switched on, the way a
# screen reader switches it on.
if [ -z "${VANTOK_OWN_SESSION_BUS:-}" ]; then
    exec env VANTOK_OWN_SESSION_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"

a11y_bus_owned() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'
}
/usr/libexec/at-spi-bus-launcher &
for _ in $(seq 300); do
    a11y_bus_owned && break
    sleep 0.1
done
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled \
    variant:boolean:true >/dev/null || fail "the accessibility bus did not start"

start_vantok Vantok
# Debian's Python, which the screen reader bindings are installed for.
/usr/bin/python3 "$(dirname "$0")/read_through_atspi.py" || fail "reading through the bus"

# The reader pressed "EXIT" through its action: the process ends with status 0.
for _ in $(seq 100); do
    kill -0 "$VANTOK_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$VANTOK_PID" 2>/dev/null && fail "EXIT pressed through the bus left the process running"
status=0
wait "$VANTOK_PID" || status=$?
VANTOK_PID=""
[ "$status" -eq 0 ] || fail "EXIT ended with status $status"
echo "PASS: both windows read through the accessibility bus"
