#!/usr/bin/env python3
"""Starts modalscope.exe on the current X display, waits for the reset board and saves the
main window, title bar and menu included, as a PNG.

usage: take_screenshot.py EXE PROBE WINE OUT.png"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
from desktop import ORANGE, Program  # noqa: E402


def main():
    exe, probe, wine, out = sys.argv[1:5]
    program = Program(exe, probe, wine, b"Width 1015\n")
    try:
        window = program.wait_for_window()
        program.until(lambda s: s.count(*program.cell_box(5, 0), ORANGE) > 100,
                      what="the board")
        left, top, width, height = window.outer
        subprocess.run(f"xwd -root -silent | convert xwd:- -crop {width}x{height}+{left}+{top}"
                       f" +repage {out}", shell=True, check=True)
        program.key("Escape")
        program.wait_exit()
    finally:
        program.cleanup()
    print(f"saved {out}")


if __name__ == "__main__":
    main()
