#!/usr/bin/env python3
"""Builds the Windows installer with CPack, checks its checksum file and that it carries the
program's icon, and takes it through a user's whole life with it under Wine, in a prefix
and Xvfb of its own, with HOME in the test's folder (Wine's menu builder turns Start-menu
shortcuts into desktop entries under HOME): a silent install puts the program, its
Start-menu shortcut and the current user's Add/Remove Programs entry in place; the program
started through the shortcut keeps "default.txt" in the profile folder; a second install
upgrades in place and keeps it; a silent uninstall removes the program, the shortcut and
the entry, and keeps it still.

usage: check_installer.py BUILD PROBE"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools", "shared"))
from check_package import check_checksum, check_icon  # noqa: E402
from desktop import Window  # noqa: E402

NAME = "Modalscope-1.0-win64.exe"
ENTRY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Modalscope"
PROGRAM_FILES = ["LICENSE", "README.md", "Uninstall.exe", "modalscope.exe"]


def wine(*args, check=True):
    """Runs a Windows program to its end; a failure ends the test unless check is off."""
    result = subprocess.run(["wine", *args], capture_output=True, stdin=subprocess.DEVNULL,
                            timeout=120)
    if check and result.returncode != 0:
        sys.exit(f"wine {' '.join(args)} ended with {result.returncode}")
    return result


def unix_path(windows):
    return subprocess.run(["winepath", "-u", windows], capture_output=True, check=True,
                          text=True).stdout.strip()


def entry():
    """The uninstall entry's values by name, or None when there is none."""
    result = wine("reg", "query", ENTRY, check=False)
    if result.returncode != 0:
        return None
    values = {}
    for line in result.stdout.decode("utf-8", "replace").splitlines():
        fields = line.strip().split(None, 2)
        if len(fields) == 3 and fields[1].startswith("REG_"):
            values[fields[0]] = fields[2]
    return values


def read(path):
    with open(path, "rb") as f:
        return f.read()


def expect(condition, message):
    if not condition:
        sys.exit(message)


def until(check, what, timeout=30):
    end = time.time() + timeout
    while not check():
        if time.time() > end:
            sys.exit(f"timed out waiting for {what}")
        time.sleep(0.2)


class Install:
    """Where the installer is to put things, in Windows' and in Linux's words."""

    def __init__(self):
        local, roaming = wine("cmd", "/c", "echo %LOCALAPPDATA%^|%APPDATA%").stdout \
            .decode().strip().split("|")
        self.folder = local + r"\Programs\Modalscope"
        self.program = unix_path(self.folder)
        self.shortcut = unix_path(roaming + r"\Microsoft\Windows\Start Menu\Programs"
                                  r"\Modalscope.lnk")
        self.profile = unix_path(roaming + r"\Modalscope")
        self.settings = os.path.join(self.profile, "default.txt")

    def expect_installed(self, when):
        files = sorted(os.listdir(self.program)) if os.path.isdir(self.program) else []
        expect(files == PROGRAM_FILES, f"{when}: {self.program} holds {files}")
        expect(os.path.isfile(self.shortcut), f"{when}: no shortcut {self.shortcut}")
        values = entry()
        expect(values is not None, f"{when}: no entry {ENTRY}")
        uninstaller = f'"{self.folder}\\Uninstall.exe"'
        want = {"DisplayName": "Modalscope", "DisplayVersion": "1.0",
                "Publisher": "The Modalscope project",
                "DisplayIcon": self.folder + r"\modalscope.exe,0",
                "UninstallString": uninstaller, "QuietUninstallString": uninstaller + " /S"}
        for name, value in want.items():
            expect(values.get(name) == value, f"{when}: {name} is {values.get(name)!r}, "
                                              f"want {value!r}")
        size = int(values.get("EstimatedSize", "0"), 16)  # KiB
        exe = os.path.getsize(os.path.join(self.program, "modalscope.exe"))
        expect(exe // 1024 <= size < 4 * exe // 1024, f"{when}: EstimatedSize {size} KiB")


def main_window(probe):
    out = subprocess.run(["wine", probe], capture_output=True, timeout=60,
                         stdin=subprocess.DEVNULL).stdout.decode("utf-8", "replace")
    return next((w for w in (Window(l) for l in out.splitlines() if l.startswith("window "))
                 if w.cls == "Modalscope" and w.visible), None)


def run_checks(installer, probe):
    where = Install()
    wine(installer, "/S")
    where.expect_installed("after the install")

    # Started as a person starts it, through the Start-menu shortcut; with no pipes, which
    # the program would hold open.
    subprocess.run(["wine", "start", "/unix", where.shortcut], check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    until(lambda: main_window(probe) is not None, "the main window")
    wine(probe, "--close")  # as its close box does; a key could reach no window yet
    until(lambda: main_window(probe) is None, "the main window to close")
    beside_exe = os.path.join(where.program, "default.txt")
    until(lambda: os.path.exists(where.settings) or os.path.exists(beside_exe), "default.txt")
    expect(not os.path.exists(beside_exe), "default.txt was written to the program's folder")
    settings = read(where.settings)
    expect(settings.startswith(b"Width "), f"default.txt holds {settings!r}")

    wine(installer, "/S")
    where.expect_installed("after installing again")
    expect(os.path.exists(where.settings) and read(where.settings) == settings,
           "installing again lost default.txt")

    # The uninstaller copies itself away and runs the copy with _?=; doing so here lets
    # `wine` wait for the uninstall to end.
    copy = os.path.join(tempfile.mkdtemp(prefix="uninstall-", dir=os.path.dirname(
        where.program)), "Uninstall.exe")
    shutil.copy(os.path.join(where.program, "Uninstall.exe"), copy)
    wine(copy, "/S", "_?=" + where.folder)
    shutil.rmtree(os.path.dirname(copy))
    expect(not os.path.exists(where.program), f"{where.program} is still there")
    expect(not os.path.exists(where.shortcut), f"{where.shortcut} is still there")
    expect(entry() is None, f"{ENTRY} is still there")
    expect(os.path.exists(where.settings) and read(where.settings) == settings,
           "uninstalling lost default.txt")


def main():
    if sys.argv[1] == "--in-session":
        run_checks(*sys.argv[2:4])
        print("ok installed, started through the shortcut, upgraded, uninstalled")
        return
    build, probe = sys.argv[1:3]
    output = os.path.join(build, "package")
    installer = os.path.join(output, NAME)
    for old in (installer, installer + ".sha256"):  # a file left from an earlier run proves nothing
        if os.path.exists(old):
            os.remove(old)
    subprocess.run(["cpack", "-G", "NSIS", "-B", output], cwd=build, check=True,
                   stdout=subprocess.DEVNULL)
    check_checksum(installer)
    with open(installer, "rb") as f:
        check_icon(f.read(), "the installer", os.path.dirname(HERE))

    # A fresh prefix each run, so that nothing is installed before the first install.
    folder = os.path.join(build, "tests", "installer")
    shutil.rmtree(folder, ignore_errors=True)
    home = os.path.join(folder, "home")
    os.makedirs(home)
    env = dict(os.environ, HOME=home, XDG_DATA_HOME=os.path.join(home, ".local", "share"),
               XDG_CONFIG_HOME=os.path.join(home, ".config"))
    session = os.path.join(HERE, "e2e", "display_session.sh")
    regfile = os.path.join(HERE, "e2e", "displays", "default.reg")
    result = subprocess.run(["bash", session, os.path.join(folder, "prefix"), "1024x768", regfile,
                             probe, sys.executable, os.path.abspath(__file__), "--in-session",
                             installer, probe], env=env, stdin=subprocess.DEVNULL)
    sys.exit(result.returncode)


if __name__ == "__main__":
    main()
