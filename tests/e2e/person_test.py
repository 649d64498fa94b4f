#!/usr/bin/env python3
"""End-to-end scenarios: the real modalscope.exe used as a person uses it.

usage: person_test.py --exe EXE --probe PROBE --wine WINE SCENARIO
Each scenario starts the program in a fresh folder and fails with a message on the first
thing that is not as it should be."""

import argparse
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "shared"))
from desktop import GREY, ORANGE, WHITE, Program, Screenshot  # noqa: E402

OPEN_PITCH = [0, -5, -9, -14, -19, -24]  # standard tuning, high string first


def label(string, fret, root):
    diff = (OPEN_PITCH[string] + fret) - (OPEN_PITCH[root[0]] + root[1])
    return diff % 12 + 1


def roots_shown(program, root):
    """A check that the orange root marker stands on exactly the root's cells."""
    def check(shot):
        for s in range(6):
            for f in range(24):
                orange = shot.count(*program.cell_box(s, f), ORANGE)
                if (label(s, f, root) == 1) != (orange > 100):
                    return False
        return True
    return check


def expect(condition, message):
    if not condition:
        raise AssertionError(message)


def expect_saved(program, code, text=b"Width 1015\r\n"):
    expect(code == 0, f"exit code {code}, want 0")
    saved = program.settings_text()
    expect(saved == text, f"default.txt holds {saved!r}, want {text!r}")


def shown_board(program, stored=None):
    """The cell size a, client area (24a + 1 by 7a) and outer size the program must show with
    the stored cell size (None: from the screen's width, as without a settings file), asked of
    the platform's own frame for the main window: a is lowered only as far as the whole window
    must be to fit the work area. Wine 8's 96-DPI frame is 6 by 44, Wine 10's 6 by 51: on a
    1600 x 400 screen a window of 1207 x 394 (a = 50) and 1183 x 394 (a = 49)."""
    seen = program.display_metrics()
    frame, work, screen = (tuple(int(v) for v in seen[name].split(","))
                           for name in ("window_frame", "work", "screen"))
    a = (screen[0] - 12) // 24 if stored is None else stored
    if a > 0:
        a = max(min(a, (work[0] - frame[0] - 1) // 24, (work[1] - frame[1]) // 7), 0)
    client = (24 * a + 1, 7 * a)
    return a, client, (client[0] + frame[0], client[1] + frame[1])


def expect_shown(program, window, stored=None):
    """The client area is exactly the board and the window exactly it plus the frame."""
    a, client, outer = shown_board(program, stored)
    expect(window.client[2:] == client, f"client {window.client[2:]}, want {client} (a = {a})")
    expect(window.outer[2:] == outer, f"outer size {window.outer[2:]}, want {outer}")
    return a


def close_box(window):
    """The title bar's close button: the rightmost caption button."""
    left, top, width, _ = window.outer
    return left + width - 12, top + 12


# Menu bar items, in screen pixels, as the default Wine theme lays them out.
MENU_EXIT = (20, 30)
MENU_HELP = (70, 30)
MENU_ABOUT = (90, 51)


def scenario_fresh_start(program):
    """No settings file: default size, the reset board, Escape closes and saves."""
    window = program.wait_for_window()
    expect(window.text == "Modalscope 1.0", f"title {window.text!r}")
    expect(window.outer[:2] == (0, 0), f"outer window {window.outer}")
    expect_shown(program, window)
    program.until(roots_shown(program, (5, 0)), what="root markers of the reset board")
    shot = program.shot()
    for slot in range(12):
        expect(shot.count(*program.palette_box(slot), WHITE) < 400, f"palette box {slot} empty")
    program.key("Escape")
    expect_saved(program, program.wait_exit())


def scenario_click_moves_root(program):
    """A press on a cell makes it the root; the close box closes and saves."""
    window = program.wait_for_window()
    program.until(roots_shown(program, (5, 0)))
    program.click(3 * 42 + 20, 2 * 32 + 20)
    program.until(roots_shown(program, (2, 3)), what="root at string 2, fret 3")
    program.click(10 * 42 + 5, 4 * 32 + 5, button=3)  # right press on the neck: the same
    program.until(roots_shown(program, (4, 10)), what="root at string 4, fret 10")
    program.click_screen(*close_box(window))
    expect_saved(program, program.wait_exit())


def scenario_arrows_and_wheel(program):
    """Arrows and the wheel step the root and wrap; "Выход" closes and saves."""
    program.wait_for_window()
    program.until(roots_shown(program, (5, 0)))
    steps = [("Left", (5, 23)), ("Right", (5, 0)), ("Down", (0, 0)), ("Up", (5, 0)),
             ("Up", (4, 0))]
    for key, root in steps:
        program.key(key)
        program.until(roots_shown(program, root), what=f"root {root} after {key}")
    program.wheel(away=True)
    program.until(roots_shown(program, (4, 1)), what="root one fret up after the wheel")
    program.wheel(away=False, turns=2)
    program.until(roots_shown(program, (4, 23)), what="root wrapped to fret 23")
    program.wheel(away=True)
    program.until(roots_shown(program, (4, 0)), what="root wrapped back to fret 0")
    program.click_screen(*MENU_EXIT)
    expect_saved(program, program.wait_exit())


def scenario_palette(program):
    """Palette presses hide, show and respell; space resets."""
    program.wait_for_window()
    program.until(roots_shown(program, (5, 0)))
    root_box = program.palette_box(0)

    program.click(6 * 42 + 21, 6 * 42 + 21)  # box of the root
    program.until(lambda s: all(s.count(*program.cell_box(st, f), ORANGE) == 0
                                for st in range(6) for f in range(24))
                  and s.count(*root_box, WHITE) == 28 * 28, what="root markers hidden")
    program.click(6 * 42 + 21, 6 * 42 + 21)
    program.until(roots_shown(program, (5, 0)), what="root markers shown again")

    # Slot 3 (b3, label 4) respelled as #2: its box and every label-4 cell show it.
    cells = [(s, f) for s in range(6) for f in range(24) if label(s, f, (5, 0)) == 4]
    before = program.shot().block(*program.palette_box(3)[:2], 28)
    program.click(9 * 42 + 21, 6 * 42 + 21, button=3)
    shot = program.until(lambda s: s.block(*program.palette_box(3)[:2], 28) != before,
                         what="the respelled box")
    after = shot.block(*program.palette_box(3)[:2], 28)
    for s, f in cells:
        expect(shot.block(*program.cell_box(s, f)[:2], 28) == after,
               f"cell {s},{f} does not show the respelled picture")

    # Hide slot 4 and move the root; space brings back the reset board and palette.
    program.click(10 * 42 + 21, 6 * 42 + 21)
    program.key("Right")
    program.until(roots_shown(program, (5, 1)))
    program.key("space")
    shot = program.until(roots_shown(program, (5, 0)), what="reset root")
    expect(shot.block(*program.palette_box(3)[:2], 28) == before, "respelling not reset")
    expect(shot.count(*program.palette_box(4), WHITE) < 400, "hidden box not shown again")
    program.key("Escape")
    expect_saved(program, program.wait_exit())


def open_about(program):
    under = program.shot().at(*MENU_ABOUT)
    program.click_screen(*MENU_HELP)
    program.until(lambda s: s.at(*MENU_ABOUT) != under, what="the help menu")
    time.sleep(0.3)
    program.click_screen(*MENU_ABOUT)
    return wait_about_open(program)


def wait_about_open(program):
    end = time.time() + 15
    while time.time() < end:
        box, controls = program.about_box()
        if box is not None and box.visible:
            return box, controls
        time.sleep(0.2)
    raise AssertionError(f"the About box did not open ({program.windows_text()})")


def wait_about_closed(program):
    end = time.time() + 15
    while time.time() < end:
        if program.about_box()[0] is None:
            return
        time.sleep(0.2)
    raise AssertionError("the About box did not close")


ABOUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources",
                         "about")


def about_pictures(program, scale):
    """The About box opened through the menu with keys (the menu bar moves with the scale, its
    keys do not): each picture, in the template's order, is `scale` times its shipped size, or
    less where the box's font grew less than the display. At 1 it is the shipped picture
    pixel for pixel; scaled, each pixel of a flat area of the shipped picture shows that
    colour at its place in the larger one, out to the control's edges. Enter closes it."""
    for key in ("F10", "Right", "Down", "Return"):
        program.key(key)
        time.sleep(0.3)
    box, controls = wait_about_open(program)
    time.sleep(0.5)  # drawn
    shot = program.about_shot()
    # A box whose font grew less than the display (Wine 10 at 120 DPI) has smaller places:
    # the OK button's 68 dialog units tell how much the box grew across (102 pixels at 1).
    ok = next(c for c in controls if c.id == 1)
    scale = 1 if scale == 1 else min(scale, ok.outer[2] / 102)
    for control, name in zip(controls[1:4], ("145", "147", "146")):
        pic = Screenshot(path=os.path.join(ABOUT_DIR, name + ".bmp"))
        w, h, tolerance = pic.width, pic.height, 0 if scale == 1 else 12
        left, top, width, height = control.outer
        expect(abs(width - w * scale) <= tolerance and abs(height - h * scale) <= tolerance,
               f"{name} shown at {width}x{height}, want about {scale:.2f} times {w}x{h}")
        wrong = 0
        for y in range(h):
            for x in range(w):
                colour = pic.at(x, y)
                if scale != 1 and (x in (0, w - 1) or y in (0, h - 1) or any(
                        pic.at(x + i, y + j) != colour for j in (-1, 0, 1) for i in (-1, 0, 1))):
                    continue  # only flat areas keep their exact colour when scaled
                seen = shot.at(left - box.outer[0] + (2 * x + 1) * width // (2 * w),
                               top - box.outer[1] + (2 * y + 1) * height // (2 * h))
                wrong += max(abs(a - b) for a, b in zip(seen, colour)) > tolerance
        expect(wrong <= w * h // 100 * (scale != 1), f"{name}: {wrong} pixels differ")
    program.key("Return")
    wait_about_closed(program)


def scenario_about_box(program):
    """The About box: place, caption, what closes it, and the main window meanwhile."""
    program.wait_for_window()
    program.until(roots_shown(program, (5, 0)))
    board = program.shot()

    box, controls = open_about(program)
    expect(box.text == "О Modalscope", f"caption {box.text!r}")
    expect(box.outer[:2] == (0, 0), f"About box at {box.outer[:2]}")
    expect(len(controls) == 7, f"{len(controls)} controls")
    program.key("Escape")
    time.sleep(0.5)
    expect(program.about_box()[0] is not None, "Escape closed the About box")
    ok = next(c for c in controls if c.id == 1)
    program.click_screen(ok.outer[0] + ok.outer[2] // 2, ok.outer[1] + ok.outer[3] // 2)
    wait_about_closed(program)
    program.until(lambda s: s.pixels == board.pixels, what="the board as before the box")

    box, _ = open_about(program)
    program.click_screen(*close_box(box))
    wait_about_closed(program)
    program.until(lambda s: s.pixels == board.pixels, what="the board as before the box")

    # With the box open the main window still takes presses and keys.
    box, _ = open_about(program)
    program.click(15 * 42 + 20, 1 * 32 + 20)
    program.until(roots_shown(program, (1, 15)), what="root moved while the box is open")
    program.key("Right")
    program.until(roots_shown(program, (1, 16)), what="arrow while the box is open")
    expect(program.about_box()[0] is not None, "the box should still be open")
    program.key("Escape")
    expect_saved(program, program.wait_exit())


def sized(settings, cell, saved):
    """A run with the given settings file: size (for a stored cell size), input taken, closed
    and saved."""
    def scenario(program):
        window = program.wait_for_window()
        if cell is not None:
            expect_shown(program, window, cell)
        if window.client[2] > 10 and window.client[3] > 10:
            program.click(5, 5)  # a tiny window has no client to press on
        program.key("Right")
        program.key("space")
        time.sleep(0.3)
        expect(program.process.poll() is None, "the program ended on input")
        program.key("Escape")
        expect_saved(program, program.wait_exit(), saved)
    scenario.settings = settings
    return scenario


def whole_board(saved=None, settings=None, stored=None, display=None, about=None):
    """The client area is exactly the board (24a + 1 by 7a) inside a window that fits the
    screen (see shown_board; `stored`: the file's cell size); the palette row is shown whole
    and takes presses down to its lowest pixels but not above it, its last box on its own
    too; the file saved is as wanted (None: the width shown). `display`: what the prefix's
    programs must see of its display settings, so a setting that did not take effect fails
    here. `about`: the scale of the About box's pictures on that display."""
    def scenario(program):
        if display is not None:
            seen = program.display_metrics()
            for name, value in display.items():
                expect(seen.get(name) == value, f"display {name}={seen.get(name)}, want {value} "
                       f"(all: {seen})")
        window = program.wait_for_window()
        a = program.cell = expect_shown(program, window, stored)
        shot = program.until(roots_shown(program, (5, 0)), what="root markers of the reset board")
        left, top, width, height = window.outer
        expect(left >= 0 and top >= 0 and left + width <= shot.width
               and top + height <= shot.height,
               f"window {window.outer} does not fit the {shot.width}x{shot.height} screen")

        # The row's frame lines, its lowest pixel row included, and every box's marker.
        ox, oy = program.screen(0, 0)
        for x in range(6 * a, 18 * a):
            expect(shot.at(ox + x, oy + 7 * a - 1) == GREY, f"palette bottom line at x {x}")
        for slot in range(12):
            box = program.palette_box(slot)
            side = box[2] - box[0] + 1
            expect(shot.count(*box, WHITE) < side * side // 2, f"palette box {slot} not shown")
        blank = program.marker_side() ** 2  # a hidden box's marker square, all white

        # The lowest pixel row of box 0 hides the root; a press one pixel above the row does
        # nothing, which the next press in the lowest row proves by showing the root again.
        program.click(6 * a + a // 2, 7 * a - 1)
        program.until(lambda s: s.count(*program.palette_box(0), WHITE) == blank
                      and all(s.count(*program.cell_box(st, f), ORANGE) == 0
                              for st in range(6) for f in range(24)),
                      what="root hidden by a press in the palette row's lowest pixels")
        program.click(6 * a + a // 2, 6 * a - 1)
        time.sleep(0.5)
        expect(program.shot().count(*program.palette_box(0), WHITE) == blank,
               "a press just above the palette row changed it")
        program.click(18 * a - a // 2, 7 * a - 1)  # the last box's lowest pixels, too
        program.until(lambda s: s.count(*program.palette_box(11), WHITE) == blank,
                      what="the last palette box hidden by a press in its lowest pixels")
        program.click(6 * a + a // 2, 7 * a - 1)
        program.click(18 * a - a // 2, 7 * a - 1)
        program.until(lambda s: s.pixels == shot.pixels,
                      what="the board as at the start after the presses that undo")
        if about is not None:
            about_pictures(program, about)
        program.key("Escape")
        expect_saved(program, program.wait_exit(), b"Width %d\r\n" % (24 * a + 7)
                     if saved is None else saved)
    scenario.settings = settings
    return scenario


def normalised(width):
    """The width the program stores for a width read from the file."""
    a = abs(width - 6) // 24 * (1 if width >= 6 else -1)  # truncated toward zero
    return 24 * a + 7


def scenario_width_sweep(program):
    """Widths across -200..400 and at the 32-bit limits: start, take input, close."""
    program.cleanup()  # every width below gets a run of its own
    widths = list(range(-200, 401, 20)) + [2147483647, -2147483648, 1000000]
    for width in widths:
        run = Program(program.exe, program.probe, program.wine, b"Width %d\n" % width)
        try:
            sized(None, None, b"Width %d\r\n" % normalised(width))(run)
        except AssertionError as failure:
            raise AssertionError(f"width {width}: {failure}")
        finally:
            run.cleanup()


def scenario_screen_reader(program):
    """A screen reader's client in another process (board_reader.exe) reads every cell and
    box, walks a few steps, hears the root on coming back to the window, makes the cell under
    a point the root, hides and respells a box, hears each change and reads the board again;
    the screen shows the new root."""
    program.wait_for_window()
    program.until(roots_shown(program, (5, 0)))
    out = subprocess.run([program.wine, program.reader], capture_output=True, timeout=60,
                         stdin=subprocess.DEVNULL).stdout.decode().strip()
    want = ("read ok; nav 2 25 145 -; back 1; hit 52, acted 1;"
            " heard 8005:121 8005:52 800a:146 800c:148")
    expect(out == want, f"the reader says {out!r}, want {want!r}")
    program.until(roots_shown(program, (2, 3)), what="the root the reader chose")
    program.key("Escape")
    expect_saved(program, program.wait_exit())


def scenario_no_accessibility(program):
    """Where Active Accessibility cannot be loaded (Wine told it has none, for this program
    alone), a screen reader's client finds the window as one without an object of its own,
    with no items, and the board works as ever."""
    program.cleanup()  # a run of its own, started once Wine is told
    key = r"HKCU\Software\Wine\AppDefaults\modalscope.exe\DllOverrides"
    wine_reg = lambda *args: subprocess.run([program.wine, "reg", *args, "/f"], timeout=60,
                                            capture_output=True, stdin=subprocess.DEVNULL)
    wine_reg("add", key, "/v", "oleacc", "/d", "")
    run = Program(program.exe, program.probe, program.wine)
    try:
        run.wait_for_window()
        run.until(roots_shown(run, (5, 0)))
        out = subprocess.run([run.wine, program.reader], capture_output=True, timeout=60,
                             stdin=subprocess.DEVNULL).stdout.decode().strip()
        expect(out.startswith("read 0 children"), f"the reader says {out!r}")
        run.click(3 * 42 + 20, 2 * 32 + 20)
        run.until(roots_shown(run, (2, 3)), what="root at string 2, fret 3")
        run.key("Escape")
        expect_saved(run, run.wait_exit())
    finally:
        run.cleanup()
        wine_reg("delete", key)


SCENARIOS = {
    "width_sweep": scenario_width_sweep,
    "fresh_start": scenario_fresh_start,
    "click_moves_root": scenario_click_moves_root,
    "arrows_and_wheel": scenario_arrows_and_wheel,
    "palette": scenario_palette,
    "about_box": scenario_about_box,
    "screen_reader": scenario_screen_reader,
    "no_accessibility": scenario_no_accessibility,
    "width_790_on_next_line": sized(b"Width\n790", 32, b"Width 775\r\n"),
    "width_minus_100": sized(b"Width -100\n", None, b"Width -89\r\n"),
    "width_5": sized(b"Width 5\n", None, b"Width 7\r\n"),
    "width_not_a_number": sized(b"Width many\n", None, b"Width 7\r\n"),
    "width_huge": whole_board(b"Width 99991\r\n", b"Width 100000\n", stored=4166),
    # Each display of its own prefix (tests/e2e/displays), as display_session.sh sets it up.
    "display_default": whole_board(display={"dpi": "96"}, about=1),
    "display_dpi144": whole_board(display={"dpi": "144"}, about=1.5),
    "display_dpi192": whole_board(display={"dpi": "192"}, about=2),
    "display_theme": whole_board(display={"dpi": "96", "caption": "23", "menu": "20"}),
    "display_dpi120_1280x1024": whole_board(display={"dpi": "120", "screen": "1280,1024"},
                                            about=1.25),
    "display_1600x400": whole_board(display={"dpi": "96", "screen": "1600,400"}),
    "width_beyond_32_bits": sized(b"Width 99999999999\n", None, b"Width 7\r\n"),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--wine", required=True)
    parser.add_argument("--reader", help="board_reader.exe, for the screen reader scenario")
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    args = parser.parse_args()
    scenario = SCENARIOS[args.scenario]
    program = Program(args.exe, args.probe, args.wine, getattr(scenario, "settings", None))
    program.reader = args.reader
    try:
        scenario(program)
    except AssertionError as failure:
        shot = f"failed-{args.scenario}.png"  # in the test's working folder
        subprocess.run(f"xwd -root -silent | convert xwd:- {shot}", shell=True)
        print(f"FAIL {args.scenario}: {failure} (screen: {shot})", file=sys.stderr)
        return 1
    finally:
        program.cleanup()
    print(f"ok {args.scenario}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
