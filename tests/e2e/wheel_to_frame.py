#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Times a wheel notch to the frame it leads to, from outside the process: sends a wheel notch down
# through XTest and polls the screen pixel at root coordinates X, Y until it changes. Prints the
# median of the rounds in milliseconds; the pointer must already lie over the picture.
# Usage: wheel_to_frame.py X Y ROUNDS
import ctypes
import statistics
import sys
import time

x, y, rounds = (int(v) for v in sys.argv[1:4])
xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
xtst = ctypes.cdll.LoadLibrary("libXtst.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XGetImage.restype = ctypes.c_void_p
xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + \
    [ctypes.c_uint] * 2 + [ctypes.c_ulong, ctypes.c_int]
xlib.XGetPixel.restype = ctypes.c_ulong
xlib.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
xlib.XFlush.argtypes = [ctypes.c_void_p]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

display = xlib.XOpenDisplay(None)
if not display:
    sys.exit("no display")
root = xlib.XDefaultRootWindow(display)
ALL_PLANES, Z_PIXMAP = 0xFFFFFFFF, 2


def pixel():
    return xlib.XGetPixel(xlib.XGetImage(display, root, x, y, 1, 1, ALL_PLANES, Z_PIXMAP), 0, 0)


times = []
for _ in range(rounds):
    before = pixel()
    xtst.XTestFakeButtonEvent(display, 5, 1, 0)
    xtst.XTestFakeButtonEvent(display, 5, 0, 0)
    xlib.XFlush(display)
    start = time.monotonic()
    while pixel() == before:
        if time.monotonic() - start > 5:
            sys.exit("the wheel notch changed nothing on the screen within 5 s")
    times.append((time.monotonic() - start) * 1000)
    time.sleep(0.05)  # let the frame settle before the next notch
print(f"{statistics.median(times):.1f}")
