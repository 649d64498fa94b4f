#!/usr/bin/env python3
"""Start-up as a user sees it: from launching `wine PROGRAM.exe` to the root marker's
orange on the X screen, polled one pixel every half millisecond, for several programs by
turns (each first in turn), each run closed with Escape before the next.

usage: startup_pixel.py ROUNDS NAME=EXE... (the first is the one the others are compared
with). Needs DISPLAY with a Wine virtual desktop at the screen's top-left corner and a warm
wineserver; every program shows the default 1009x294 client with one menu line, so the
root marker's square is at the same place in each.
"""
import ctypes
import os
import statistics
import subprocess
import sys
import tempfile
import time

ORANGE = 0xFF8040
TIMEOUT = 20.0

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                          ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XGetPixel.restype = ctypes.c_ulong
x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
x11.XDestroyImage.argtypes = [ctypes.c_void_p]
Z_PIXMAP = 2
ALL_PLANES = 0xFFFFFFFF


class Screen:
    def __init__(self):
        self.display = x11.XOpenDisplay(None)
        if not self.display:
            raise SystemExit("no X display")
        self.root = x11.XDefaultRootWindow(self.display)

    def pixel(self, x, y):
        image = x11.XGetImage(self.display, self.root, x, y, 1, 1, ALL_PLANES, Z_PIXMAP)
        if not image:
            return None
        value = x11.XGetPixel(image, 0, 0) & 0xFFFFFF
        x11.XDestroyImage(image)
        return value


def launch(screen, exe, spot, folder):
    with open(os.path.join(folder, "default.txt"), "w") as f:
        f.write("Width 1015\n")
    wine = os.environ.get("WINE", "wine")
    start = time.perf_counter()
    process = subprocess.Popen([wine, exe], cwd=folder, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    seen = None
    while time.perf_counter() - start < TIMEOUT:
        if screen.pixel(*spot) == ORANGE:
            seen = (time.perf_counter() - start) * 1000
            break
        time.sleep(0.0005)
    subprocess.run(["xdotool", "mousemove", "500", "150", "key", "Escape"],
                   stdin=subprocess.DEVNULL)
    try:
        process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
    # The screen must lose the orange again before the next start.
    end = time.perf_counter() + 5
    while screen.pixel(*spot) == ORANGE and time.perf_counter() < end:
        time.sleep(0.01)
    return seen


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    rounds = int(sys.argv[1])
    programs = [(name, os.path.abspath(exe)) for name, exe in
                (arg.split("=", 1) for arg in sys.argv[2:])]
    # The root marker's fill left of its caption: client pixel (13, 181), with the client
    # at (3, 41) on the screen under Wine's default metrics (ROOT_SPOT=x,y for others).
    spot = tuple(int(v) for v in os.environ.get("ROOT_SPOT", "16,222").split(","))
    screen = Screen()
    folder = tempfile.mkdtemp(prefix="modalscope-startup-")
    times = {name: [] for name, _ in programs}
    for name, exe in programs:
        launch(screen, exe, spot, folder)  # warm the file cache
    for round_ in range(rounds):
        order = programs[round_ % len(programs):] + programs[:round_ % len(programs)]
        for name, exe in order:
            took = launch(screen, exe, spot, folder)
            if took is None:
                print(f"  {name}: no orange at {spot} within {TIMEOUT} s")
            else:
                times[name].append(took)
    base = programs[0][0]
    print(f"launch to the root marker's orange on screen, {rounds} rounds:")
    for name, _ in programs:
        t = times[name]
        if not t:
            continue
        paired = [a / b for a, b in zip(t, times[base])]
        print(f"  {name:24s} median {statistics.median(t):6.1f} ms  "
              f"(p25 {sorted(t)[len(t) // 4]:.1f}, p75 {sorted(t)[3 * len(t) // 4]:.1f})  "
              f"/ {base}: {statistics.median(paired):.3f}x")


if __name__ == "__main__":
    main()
