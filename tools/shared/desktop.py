"""Drives modalscope.exe under Wine on an X display the way a person would: xdotool for
the mouse and keyboard, screenshots read back as pixels, and the window list as the
window system reports it (window_probe.exe). The caller provides DISPLAY and a Wine
prefix with a warm wineserver and a virtual desktop at the screen's top-left corner."""

import os
import re
import shutil
import subprocess
import tempfile
import time

CELL = 42  # cell size of the default 1009-pixel client
ORANGE = (0xFF, 0x80, 0x40)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)


class Screenshot:
    """The whole X screen, one X window (pop-ups show black on the screen's) or a picture
    file, as RGB triples."""

    def __init__(self, window=None, path=None):
        source = "-root" if window is None else f"-id {window}"
        ppm = subprocess.run(
            f"convert '{path}' ppm:-" if path else f"xwd {source} -silent | convert xwd:- ppm:-",
            shell=True, check=True, capture_output=True).stdout
        fields = re.match(rb"P6\s+(?:#[^\n]*\n\s*)*(\d+)\s+(\d+)\s+(\d+)\s", ppm)
        self.width, self.height = int(fields.group(1)), int(fields.group(2))
        self.pixels = ppm[fields.end():]

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def count(self, left, top, right, bottom, colour):
        """Pixels of `colour` in the inclusive box."""
        return sum(1 for y in range(top, bottom + 1) for x in range(left, right + 1)
                   if self.at(x, y) == colour)

    def block(self, left, top, side):
        return [self.at(x, y) for y in range(top, top + side)
                for x in range(left, left + side)]


class Window:
    """One line of window_probe's output."""

    def __init__(self, line):
        self.kind = line.split(" ", 1)[0]
        self.cls = re.search(r"class=(\S+)", line).group(1)
        self.id = int(re.search(r" id=(-?\d+)", line).group(1))
        self.text = re.search(r"text=(.*?) outer=", line).group(1)
        self.outer = tuple(int(v) for v in re.search(r"outer=(\S+)", line).group(1).split(","))
        self.client = tuple(int(v) for v in re.search(r"client=(\S+)", line).group(1).split(","))
        self.foreground = " foreground=1 " in line
        self.visible = line.rstrip().endswith("visible=1")


class Program:
    """One run of the exe in a fresh folder (or the given one), optionally with a settings
    file and an environment of its own."""

    def __init__(self, exe, probe, wine, settings=None, folder=None, env=None):
        self.exe, self.probe, self.wine = exe, probe, wine
        self.folder = folder or tempfile.mkdtemp(prefix="modalscope-e2e-")
        if settings is not None:
            with open(os.path.join(self.folder, "default.txt"), "wb") as f:
                f.write(settings)
        self.process = subprocess.Popen([wine, exe], cwd=self.folder, env=env,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.origin = None
        self.cell = CELL  # cell size of the client the scenario expects

    # -- the window system's view
    def windows(self):
        out = subprocess.run([self.wine, self.probe], capture_output=True, timeout=60,
                             stdin=subprocess.DEVNULL).stdout.decode("utf-8", "replace")
        return [Window(line) for line in out.splitlines()
                if line.startswith(("window ", "control "))]

    def display_metrics(self):
        """The prefix's display settings as programs see them: {name: value text}."""
        out = subprocess.run([self.wine, self.probe, "--metrics"], capture_output=True,
                             timeout=60, stdin=subprocess.DEVNULL).stdout.decode()
        line = next(l for l in out.splitlines() if l.startswith("metrics "))
        return dict(field.split("=", 1) for field in line.split()[1:])

    def windows_text(self):
        return "; ".join(f"{w.cls} {w.text!r} at {w.outer}" for w in self.windows()
                         if w.kind == "window")

    def main_window(self):
        return next((w for w in self.windows() if w.cls == "Modalscope"), None)

    def about_box(self):
        """The About box and its controls, or (None, [])."""
        found, controls, inside = None, [], False
        for w in self.windows():
            if w.kind == "window":
                inside = w.cls == "#32770"
                found = w if inside else found
            elif inside:
                controls.append(w)
        return found, controls

    def wait_for_window(self, timeout=30):
        """The main window once it is shown and has the focus: a key pressed before then
        could go to no window of the program."""
        end = time.time() + timeout
        while time.time() < end:
            if self.process.poll() is not None:
                raise AssertionError(f"program ended early with {self.process.returncode}")
            w = self.main_window()
            if w is not None and w.visible and w.foreground:
                self.origin = w.client[:2]
                return w
            time.sleep(0.2)
        raise AssertionError("the main window did not appear with the focus")

    # -- input, in client coordinates of the main window
    def screen(self, x, y):
        return self.origin[0] + x, self.origin[1] + y

    def click(self, x, y, button=1):
        sx, sy = self.screen(x, y)
        xdotool("mousemove", str(sx), str(sy), "click", str(button))

    def click_screen(self, sx, sy, button=1):
        xdotool("mousemove", str(sx), str(sy), "click", str(button))

    def key(self, name):
        # Without a window manager the key goes to the X window under the pointer.
        pointer_on_desktop()
        xdotool("key", name)

    def wheel(self, away, turns=1):
        # The wheel turns over the board, between two cells' markers.
        xdotool("mousemove", *(str(v) for v in self.screen(5 * 42 + 38, 3 * 32 + 3)))
        xdotool("click", "--repeat", str(turns), "--delay", "50", "4" if away else "5")

    # -- what the board shows
    def shot(self):
        return Screenshot()

    def about_shot(self):
        """The About box as drawn, frame included, from its own X window."""
        found = subprocess.run(["xdotool", "search", "--name", "^О Modalscope$"],
                               capture_output=True, text=True, stdin=subprocess.DEVNULL)
        ids = found.stdout.split()
        if len(ids) != 1:
            raise AssertionError(f"X windows of the About box: {ids}")
        return Screenshot(ids[0])

    def marker_side(self):
        """Two thirds of the cell: 28 pixels at 42."""
        return 2 * self.cell // 3

    def marker_box(self, x, y):
        """The marker square of the cell at client (x, y), centred in it, in screen pixels:
        left, top, right, bottom."""
        side = self.marker_side()
        left, top = self.screen(x + (self.cell - side) // 2, y + (self.cell - side) // 2)
        return left, top, left + side - 1, top + side - 1

    def cell_box(self, string, fret):
        return self.marker_box(fret * self.cell, string * (self.cell - self.cell // 4))

    def palette_box(self, slot):
        return self.marker_box((6 + slot) * self.cell, 6 * self.cell)

    def until(self, check, timeout=10, what="the expected picture"):
        """Screenshots until check(shot) holds; returns that shot."""
        end = time.time() + timeout
        while True:
            shot = self.shot()
            if check(shot):
                return shot
            if time.time() > end:
                raise AssertionError(f"timed out waiting for {what}")
            time.sleep(0.1)

    # -- the end
    def close(self):
        """Closes the program as its close box does, with a message that cannot be lost."""
        subprocess.run([self.wine, self.probe, "--close"], check=True, timeout=60,
                       stdin=subprocess.DEVNULL)

    def wait_exit(self, timeout=30):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            raise AssertionError("the program did not end")

    def settings_text(self):
        path = os.path.join(self.folder, "default.txt")
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def cleanup(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, stdin=subprocess.DEVNULL)


def pointer_on_desktop():
    # A spot of the desktop below the main window, so key presses do not click anything.
    xdotool("mousemove", "700", "700")
