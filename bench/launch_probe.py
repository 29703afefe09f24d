#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times a program's launch until its window shows on the X display.

    launch_probe.py [--painted] TITLE -- COMMAND...

Starts COMMAND and polls the display (every millisecond) for a viewable
window whose name contains TITLE; with --painted also until that window
holds a drawn frame (at least a handful of colours along its middle row and
column, not one flat background). Prints the seconds from the start to then
and kills the program (a viewer may keep running on SIGTERM). Talks to libX11 through ctypes, so it needs no
compiler and no Python packages.
"""
import ctypes
import ctypes.util
import os
import signal
import subprocess
import sys
import time

LIMIT_SECONDS = 30
IS_VIEWABLE = 2
Z_PIXMAP = 2
ALL_PLANES = ctypes.c_ulong(~0 & 0xFFFFFFFFFFFFFFFF)
DRAWN_COLOURS = 6

x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                           ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                           ctypes.POINTER(ctypes.c_uint)]
x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
x11.XFree.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                          ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XSetErrorHandler.argtypes = [ctypes.c_void_p]

# Windows vanish while they are looked at; such errors are expected.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda display, event: 0)


class WindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("klass", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class Image(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_uint8)), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(WindowAttributes)]


def children(display, window):
    root, parent = ctypes.c_ulong(), ctypes.c_ulong()
    kids, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    if not x11.XQueryTree(display, window, ctypes.byref(root), ctypes.byref(parent), ctypes.byref(kids),
                          ctypes.byref(count)):
        return []
    found = [kids[i] for i in range(count.value)]
    if kids:
        x11.XFree(kids)
    return found


def name_of(display, window):
    name = ctypes.c_char_p()
    if not x11.XFetchName(display, window, ctypes.byref(name)) or not name.value:
        return ""
    text = name.value.decode("latin-1")
    x11.XFree(name)
    return text


def colours_on_line(display, window, x, y, width, height):
    address = x11.XGetImage(display, window, x, y, width, height, ALL_PLANES, Z_PIXMAP)
    if not address:
        return set()
    image = Image.from_address(address)
    seen = set()
    if image.bits_per_pixel == 32:
        for row in range(image.height):
            for column in range(image.width):
                at = row * image.bytes_per_line + column * 4
                seen.add(bytes(image.data[at:at + 3]))
    x11.XFree(image.data)
    x11.XFree(address)
    return seen


def drawn(display, window, attributes):
    width, height = attributes.width, attributes.height
    across = colours_on_line(display, window, 0, height // 2, width, 1)
    down = colours_on_line(display, window, width // 2, 0, 1, height)
    return len(across | down) >= DRAWN_COLOURS


def find_window(display, title, painted):
    pending = [x11.XDefaultRootWindow(display)]
    while pending:
        window = pending.pop()
        pending.extend(children(display, window))
        if title not in name_of(display, window):
            continue
        attributes = WindowAttributes()
        if not x11.XGetWindowAttributes(display, window, ctypes.byref(attributes)):
            continue
        if attributes.map_state == IS_VIEWABLE and (not painted or drawn(display, window, attributes)):
            return True
    return False


def main():
    arguments = sys.argv[1:]
    painted = arguments[:1] == ["--painted"]
    if painted:
        arguments = arguments[1:]
    if len(arguments) < 3 or arguments[1] != "--":
        sys.exit("usage: launch_probe.py [--painted] TITLE -- COMMAND...")
    title, command = arguments[0], arguments[2:]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("launch_probe.py: no X display")
    x11.XSetErrorHandler(ctypes.cast(ERROR_HANDLER, ctypes.c_void_p))
    started = time.monotonic()
    program = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               start_new_session=True)
    seconds = None
    while time.monotonic() - started < LIMIT_SECONDS and program.poll() is None:
        if find_window(display, title, painted):
            seconds = time.monotonic() - started
            break
        time.sleep(0.001)
    if program.poll() is None:
        os.killpg(program.pid, signal.SIGKILL)
    program.wait()
    if seconds is None:
        sys.exit(f"launch_probe.py: no window named {title!r} appeared")
    print(f"{seconds:.3f}")


if __name__ == "__main__":
    main()
