#!/usr/bin/env python3
"""Starts modalscope.exe on the current X display, waits for the reset board and saves the
main window, title bar and menu included, as a PNG; or, given a cell size, shows the board
at that size and saves part of it at real size: fret cells 4 to 8, from the top string to
the palette row, with single inlay dots and the first three palette boxes.

usage: take_screenshot.py EXE PROBE WINE OUT.png [CELL]"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "shared"))
from desktop import ORANGE, Program  # noqa: E402

FIRST_COLUMN, COLUMNS = 4, 5


def main():
    exe, probe, wine, out = sys.argv[1:5]
    cell = int(sys.argv[5]) if len(sys.argv) > 5 else None
    program = Program(exe, probe, wine, b"Width %d\n" % (24 * (cell or 42) + 7))
    try:
        window = program.wait_for_window()
        program.cell = cell or program.cell
        program.until(lambda s: s.count(*program.palette_box(0), ORANGE) > 100,
                      what="the board")
        if cell is None:
            left, top, width, height = window.outer
        else:
            left, top = program.screen(FIRST_COLUMN * cell, 0)
            width, height = COLUMNS * cell + 1, 7 * cell
        subprocess.run(f"xwd -root -silent | convert xwd:- -crop {width}x{height}+{left}+{top}"
                       f" +repage {out}", shell=True, check=True)
        program.key("Escape")
        program.wait_exit()
    finally:
        program.cleanup()
    print(f"saved {out}")


if __name__ == "__main__":
    main()
