#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# A mouse for a wlroots compositor that has none, through its virtual pointer protocol. Usage:
# virtual_pointer.py WIDTH HEIGHT, the layout's size in logical pixels; each line "click X Y" on
# stdin then moves to X, Y (logical pixels; quarters are kept) and presses and releases the left
# button. One pointer serves every line: a pointer made per click would reach a client only after
# the click. It speaks the Wayland wire protocol itself, as Debian packages no binding for it.
import os
import socket
import struct
import sys
import time

wayland = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
wayland.connect(os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"]))
ids = iter(range(2, 1 << 24))
received = b""


def send(obj, opcode, *args):
    body = b""
    for arg in args:  # unsigned words and strings, in order
        if isinstance(arg, str):
            data = arg.encode() + b"\0"
            body += struct.pack("=I", len(data)) + data + b"\0" * (-len(data) % 4)
        else:
            body += struct.pack("=I", arg)
    wayland.sendall(struct.pack("=II", obj, (8 + len(body)) << 16 | opcode) + body)


def string_at(body, offset):
    (length,) = struct.unpack_from("=I", body, offset)
    return body[offset + 4 : offset + 3 + length].decode()


# Every event until the compositor has handled all that was sent (wl_display.sync).
def roundtrip():
    global received
    done = next(ids)
    send(1, 0, done)
    while True:
        while len(received) >= 8 and len(received) >= struct.unpack_from("=II", received)[1] >> 16:
            obj, size_opcode = struct.unpack_from("=II", received)
            body, received = received[8 : size_opcode >> 16], received[size_opcode >> 16 :]
            if obj == 1 and size_opcode & 0xFFFF == 0:
                sys.exit(f"virtual_pointer: protocol error: {string_at(body, 8)}")
            if obj == done:
                return
            yield obj, size_opcode & 0xFFFF, body
        data = wayland.recv(65536)
        if not data:
            sys.exit("virtual_pointer: the compositor closed the connection")
        received += data


MANAGER = "zwlr_virtual_pointer_manager_v1"
registry = next(ids)
send(1, 1, registry)  # wl_display.get_registry
manager = None
for obj, opcode, body in roundtrip():
    if obj == registry and opcode == 0 and string_at(body, 4) == MANAGER:  # wl_registry.global
        manager = next(ids)
        send(registry, 0, struct.unpack_from("=I", body)[0], MANAGER, 1, manager)  # bind
if manager is None:
    sys.exit("virtual_pointer: the compositor offers no virtual pointer")
pointer = next(ids)
send(manager, 0, 0, pointer)  # create_virtual_pointer, on the default seat
width, height = (int(v) * 4 for v in sys.argv[1:3])
for line in sys.stdin:
    x, y = (round(float(v) * 4) for v in line.split()[1:3])
    now = int(time.monotonic() * 1000) & 0xFFFFFFFF
    send(pointer, 1, now, x, y, width, height)  # motion_absolute
    send(pointer, 4)  # frame
    for state in (1, 0):
        send(pointer, 2, now, 0x110, state)  # button: the left one, pressed and released
        send(pointer, 4)
    for _ in roundtrip():
        pass
