#!/usr/bin/env python3
"""Binary planting as a new user meets it: the program, or the installer, started from a
folder holding DLLs named after system DLLs that are not known DLLs, each built here to do
nothing but note that it was loaded, with Wine told to prefer them to its own (name=n,b),
as Windows looks in a program's folder first. The program has its board read by a screen
reader's client in another process, opens and closes its About box and is closed with Escape
(exit code 0, the setting saved); the installer installs silently. Neither may load a planted DLL.
Wine's own libraries load a few of those names from the program's folder, where Windows takes
them from System32 as known DLLs' dependencies: that share is measured with a bare program
started from the same folder first (a window and a message box; with Common Controls 6 as the
About box binds them, or with the installer stub's manifest and imports), printed, and not
planted.

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
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "shared"))
from check_installer import Install  # noqa: E402
from desktop import Program  # noqa: E402
from person_test import expect, open_about, wait_about_closed  # noqa: E402

PLANTED = ("oleacc oleaccrc uiautomationcore uxtheme dwmapi version comctl32 msimg32 propsys "
           "winmm dwrite cryptbase userenv apphelp ntmarta profapi textshaping windowscodecs "
           "dbghelp wtsapi32 mpr secur32 sspicli msftedit riched20 d2d1 dxgi dcomp cryptsp "
           "wintrust winsta powrprof xmllite").split()
# A planted DLL has none of the real one's functions: a call to one ends the program there
# and then, with no debugger to wait on.
PLANTED_ENV = dict(os.environ, WINEDLLOVERRIDES=",".join(PLANTED)
                   + "=n,b;mscoree,mshtml=;winedbg.exe=d")
CXX = "x86_64-w64-mingw32-g++"
INSTALLER = "Modalscope-1.0-win64.exe"


def plant(folder, dll, leave_out=()):
    """A fresh folder of planted DLLs."""
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for name in PLANTED:
        if name + ".dll" not in leave_out:
            shutil.copy(dll, os.path.join(folder, name + ".dll"))


def loaded(folder):
    """The planted DLLs loaded since they were planted: only one program runs from the
    folder at a time, the window probe and the reader from elsewhere."""
    return {name[:-len(".loaded")] for name in os.listdir(folder) if name.endswith(".loaded")}


def start_there(folder, exe, *args, timeout=120):
    """Runs a copy of the exe from the folder, in it, to its end: its exit code, or None when
    it did not end in time (it is then ended)."""
    copy = shutil.copy(exe, folder)
    try:
        return subprocess.run(["wine", copy, *args], cwd=folder, env=PLANTED_ENV,
                              timeout=timeout, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
    except subprocess.TimeoutExpired:
        return None


def plant_beyond_share(folder, dll, bare):
    """Plants the DLLs that Wine's own libraries do not load into the bare program. One that
    the bare program calls ends it early, so it runs again without those it loaded, until it
    runs to its end (a failed call in a window's procedure is only reported, so it may also
    never end)."""
    share = set()
    for _ in range(len(PLANTED)):
        plant(folder, dll, share)
        code = start_there(folder, bare, timeout=20)
        more = loaded(folder)
        share |= more
        if code == 0:
            break
        expect(more, f"the bare program ended with {code}, having loaded no planted DLL")
    print(f"Wine's own share, loaded into a bare program: {' '.join(sorted(share)) or 'none'}")
    plant(folder, dll, share)


def expect_none(folder, program):
    found = " ".join(sorted(loaded(folder)))
    expect(not found, f"planted DLLs loaded into {program}: {found}")


def check_program(args, work, dll, bare):
    folder = os.path.join(work, "program")
    plant_beyond_share(folder, dll, bare)
    exe = shutil.copy(args.exe, folder)
    program = Program(exe, args.probe, "wine", folder=folder, env=PLANTED_ENV)
    try:
        try:
            use_program(program, args.reader)
        finally:  # the planted DLLs loaded are told first: they may be why a step failed
            expect_none(folder, "modalscope.exe")
    finally:
        program.cleanup()


def use_program(program, reader):
    program.wait_for_window()
    read = subprocess.run(["wine", reader], capture_output=True, timeout=60,
                          stdin=subprocess.DEVNULL)
    expect(read.returncode == 0 and read.stdout.startswith(b"read ok"),
           f"the reader ended with {read.returncode}: {read.stdout!r}")
    open_about(program)
    program.key("Return")
    wait_about_closed(program)
    program.wait_for_window()  # with the focus back, for the key
    program.key("Escape")
    code = program.wait_exit()
    expect(code == 0, f"the program ended with {code}")
    settings = program.settings_text()
    expect(settings is not None and settings.startswith(b"Width "),
           f"default.txt holds {settings!r}")


def build_bare(work, name, manifest, imports):
    """The bare program with the given process manifest (so that DLLs bound through it, as
    Common Controls 6, come as they come to the program measured) and an import of each named
    DLL's given function."""
    with open(os.path.join(work, name + ".manifest"), "wb") as f:
        f.write(manifest)
    with open(os.path.join(work, name + ".rc"), "w") as f:
        f.write(f'1 24 "{name}.manifest"\n')  # the process manifest
    with open(os.path.join(work, name + ".cpp"), "w") as f:
        f.write('extern "C" {\n' + "".join(f"extern void* __imp_{n};\n" for n in imports.values())
                + "void* const imported[] = {"
                + ", ".join(f"&__imp_{n}" for n in imports.values()) + "};\n}\n")
    subprocess.run(["x86_64-w64-mingw32-windres", name + ".rc", "-O", "coff", "-o", name + ".o"],
                   cwd=work, check=True)
    subprocess.run([CXX, "-O1", "-static", "-mwindows", "-o", name + ".exe", name + ".cpp",
                    name + ".o", os.path.join(HERE, "planted", "bare_program.cpp"),
                    *(f"-l{dll}" for dll in imports)], cwd=work, check=True)
    return os.path.join(work, name + ".exe")


def first_imports(path):
    """Each imported DLL of a PE file and the first function imported from it by name, read
    from the file's import table itself: objdump's listing differs between binutils
    releases."""
    import struct
    with open(path, "rb") as f:
        data = f.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    wide = struct.unpack_from("<H", data, optional)[0] == 0x20B  # PE32+
    imports_rva = struct.unpack_from("<I", data, optional + (120 if wide else 104))[0]
    table = [struct.unpack_from("<8xII4xI", data, optional + optional_size + 40 * i)
             for i in range(sections)]  # size, rva, file offset

    def at(rva):
        for size, start, raw in table:
            if start <= rva < start + size:
                return rva - start + raw
        raise ValueError(f"address {rva:#x} outside {path}'s sections")

    def text(offset):
        return data[offset:data.index(b"\0", offset)].decode()

    first, entry = {}, at(imports_rva) if imports_rva else None
    while entry is not None:
        lookup, _, _, name, thunks = struct.unpack_from("<5I", data, entry)
        if name == 0:
            break
        thunk = at(lookup or thunks)
        while True:
            value = struct.unpack_from("<Q" if wide else "<I", data, thunk)[0]
            if value == 0:
                break
            if not value >> (63 if wide else 31):  # by name, not by ordinal
                first[text(at(name)).lower().removesuffix(".dll")] = text(at(value) + 2)
                break
            thunk += 8 if wide else 4
        entry += 20
    return first


def stub_bare(installer, work):
    """The bare program with the installer stub's manifest and imports."""
    first = first_imports(installer)
    with open(installer, "rb") as f:
        manifest = re.search(rb"(?:<\?xml[^>]*\?>\s*)?<assembly.*?</assembly>", f.read(), re.S)
    expect(first, f"no imports read from {installer}")
    expect(manifest, f"no manifest read from {installer}")
    print(f"the installer's stub imports {' '.join(sorted(first))}")
    return build_bare(work, "bare_stub", manifest.group(0), first)


def check_installer(args, work, dll):
    package = os.path.join(work, "package")
    subprocess.run(["cpack", "-G", "NSIS", "-B", package], cwd=args.build, check=True,
                   stdout=subprocess.DEVNULL)
    installer = os.path.join(package, INSTALLER)
    bare = stub_bare(installer, work)
    folder = os.path.join(work, "installer")
    plant_beyond_share(folder, dll, bare)
    code = start_there(folder, installer, "/S")
    expect(code == 0, f"the installer ended with {code}")
    installed = os.path.join(Install().program, "modalscope.exe")
    expect(os.path.isfile(installed), f"the installer did not install {installed}")
    expect_none(folder, INSTALLER)


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
            # Common Controls 6 as the About box binds them.
            with open(os.path.join(HERE, "..", "..", "resources", "about.manifest"), "rb") as f:
                manifest = f.read()
            bare = build_bare(work, "bare_program", manifest, {"comctl32": "InitCommonControls"})
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
