#!/usr/bin/env python3
"""Binary planting as a new user meets it: the program, or the installer, started from a
folder holding DLLs named after system DLLs that are not known DLLs, each built here to do
nothing but note which program loaded it, with Wine told to prefer them to its own (name=n,b),
as Windows looks in a program's folder first. The program opens and closes its About box, has
its board read by a screen reader's client in another process and is closed with Escape (exit
code 0, the setting saved); the installer installs silently. Neither may load a planted DLL,
save those that Wine's own libraries load into a bare program started from the same folder
(a window and a message box; the installer stub's imports), where Windows would take them
from System32 as known DLLs' dependencies: that share is measured and printed.

usage (inside display_session.sh): planted_dlls.py program|installer --exe EXE --probe PROBE
    --reader READER --build BUILD --work FOLDER"""

import argparse
import os
import re
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
from check_installer import Install  # noqa: E402
from desktop import Program  # noqa: E402
from person_test import expect, open_about, wait_about_closed  # noqa: E402

PLANTED = ("oleacc oleaccrc uiautomationcore uxtheme dwmapi version comctl32 msimg32 propsys "
           "winmm dwrite cryptbase userenv apphelp ntmarta profapi textshaping windowscodecs "
           "dbghelp wtsapi32 mpr secur32 sspicli msftedit riched20 d2d1 dxgi dcomp cryptsp "
           "wintrust winsta powrprof xmllite").split()
PLANTED_ENV = dict(os.environ, WINEDLLOVERRIDES=",".join(PLANTED) + "=n,b;mscoree,mshtml=")
CXX = "x86_64-w64-mingw32-g++"
INSTALLER = "Modalscope-1.0-win64.exe"


def plant(folder, dll):
    """A fresh folder of planted DLLs."""
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for name in PLANTED:
        shutil.copy(dll, os.path.join(folder, name + ".dll"))


def loaded(folder, program):
    """The planted DLLs that the program of that file name loaded."""
    found = set()
    for record in os.listdir(folder):
        if record.endswith(".dll.loaded"):
            with open(os.path.join(folder, record), encoding="ascii", errors="replace") as f:
                if any(line.rsplit("\\", 1)[-1].lower() == program.lower()
                       for line in f.read().split("\n")):
                    found.add(record[:-len(".loaded")])
    return found


def start_there(folder, exe, *args):
    """Runs a copy of the exe from the folder, in it, to its end; its exit code."""
    copy = shutil.copy(exe, folder)
    return subprocess.run(["wine", copy, *args], cwd=folder, env=PLANTED_ENV, timeout=180,
                          stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode


def bare_share(folder, dll, bare, *args):
    """What Wine's own libraries load into the bare program from a planted folder."""
    plant(folder, dll)
    code = start_there(folder, bare, *args)
    expect(code == 0, f"the bare program ended with {code}")
    share = loaded(folder, os.path.basename(bare))
    print(f"Wine's own share, loaded into a bare program: {' '.join(sorted(share)) or 'none'}")
    plant(folder, dll)
    return share


def expect_none(folder, program, share):
    extra = sorted(loaded(folder, program) - share)
    expect(not extra, f"planted DLLs loaded into {program}: {' '.join(extra)}")


def check_program(args, work, dll, bare):
    folder = os.path.join(work, "program")
    share = bare_share(folder, dll, bare)
    exe = shutil.copy(args.exe, folder)
    program = Program(exe, args.probe, "wine", folder=folder, env=PLANTED_ENV)
    try:
        program.wait_for_window()
        open_about(program)
        program.key("Return")
        wait_about_closed(program)
        reader = subprocess.run(["wine", args.reader], capture_output=True, timeout=60,
                                stdin=subprocess.DEVNULL)
        expect_none(folder, "modalscope.exe", share)  # the reader's result may follow from it
        expect(reader.returncode == 0 and reader.stdout.startswith(b"read ok"),
               f"the reader ended with {reader.returncode}: {reader.stdout!r}")
        program.key("Escape")
        code = program.wait_exit()
        expect(code == 0, f"the program ended with {code}")
        settings = program.settings_text()
        expect(settings is not None and settings.startswith(b"Width "),
               f"default.txt holds {settings!r}")
        expect_none(folder, "modalscope.exe", share)
    finally:
        program.cleanup()


def stub_imports(installer, work):
    """A C++ file that imports one function of each DLL the installer's stub imports."""
    table = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", installer], check=True,
                           capture_output=True, text=True).stdout
    first = {}
    dll = None
    for line in table.splitlines():
        named = re.match(r"\tDLL Name: (\S+)\.dll$", line, re.I)
        entry = re.match(r"\t[0-9a-f]+\t +\d+ +(\w+)$", line)
        if named:
            dll = named.group(1).lower()
        elif entry and dll and dll not in first:
            first[dll] = entry.group(1)
    expect(first, f"no imports read from {installer}")
    source = os.path.join(work, "stub_imports.cpp")
    with open(source, "w") as f:
        f.write('extern "C" {\n' + "".join(f"extern void* __imp_{n};\n" for n in first.values())
                + "void* const stubImports[] = {"
                + ", ".join(f"&__imp_{n}" for n in first.values()) + "};\n}\n")
    print(f"the installer's stub imports {' '.join(sorted(first))}")
    return [source] + [f"-l{dll}" for dll in first]


def check_installer(args, work, dll):
    package = os.path.join(work, "package")
    subprocess.run(["cpack", "-G", "NSIS", "-B", package], cwd=args.build, check=True,
                   stdout=subprocess.DEVNULL)
    installer = os.path.join(package, INSTALLER)
    bare = os.path.join(work, "bare_stub.exe")
    subprocess.run([CXX, "-O1", "-static", "-mwindows", "-o", bare, os.path.join(HERE, "planted",
                    "bare_program.cpp"), *stub_imports(installer, work)], check=True)
    folder = os.path.join(work, "installer")
    share = bare_share(folder, dll, bare, "--imports-only")
    code = start_there(folder, installer, "/S")
    expect(code == 0, f"the installer ended with {code}")
    installed = os.path.join(Install().program, "modalscope.exe")
    expect(os.path.isfile(installed), f"the installer did not install {installed}")
    expect_none(folder, INSTALLER, share)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("part", choices=("program", "installer"))
    for option in ("--exe", "--probe", "--reader", "--build", "--work"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    work = os.path.join(args.work, args.part)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    dll = os.path.join(work, "planted.dll")
    subprocess.run([CXX, "-O1", "-shared", "-nostdlib", "-Wl,--entry,DllMain", "-s", "-o", dll,
                    os.path.join(HERE, "planted", "planted_dll.cpp"), "-lkernel32"], check=True)
    try:
        if args.part == "program":
            bare = os.path.join(work, "bare_program.exe")
            subprocess.run([CXX, "-O1", "-static", "-mwindows", "-o", bare,
                            os.path.join(HERE, "planted", "bare_program.cpp")], check=True)
            check_program(args, work, dll, bare)
        else:
            check_installer(args, work, dll)
    except AssertionError as failure:
        print(f"FAIL planted DLLs beside the {args.part}: {failure}", file=sys.stderr)
        return 1
    print(f"ok no planted DLL loaded into the {args.part}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
