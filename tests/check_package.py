#!/usr/bin/env python3
"""Builds the release ZIP with CPack and checks it as a person downloading it would meet it:
it holds exactly the exe, the README and the licence; the checksum file beside it matches;
the exe is the build's program without its symbols and carries the program's icon; and,
given the window probe and the Wine wrapper, that exe starts from its own folder and ends
with 0 after a normal close.

usage: check_package.py BUILD EXE SOURCE [PROBE WINE]"""

import hashlib
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

NAME = "Modalscope-1.0-win64.zip"


def pe_sections(data):
    """The symbol table's offset and count, and each section's name and raw bytes."""
    header = struct.unpack_from("<I", data, 0x3C)[0]
    if data[header:header + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    count = struct.unpack_from("<H", data, header + 6)[0]
    symbols, symbol_count, optional = struct.unpack_from("<IIH", data, header + 12)
    table = header + 24 + optional
    sections = []
    for i in range(count):
        entry = table + 40 * i
        name = data[entry:entry + 8].rstrip(b"\0").decode("ascii", "replace")
        size, start = struct.unpack_from("<II", data, entry + 16)
        sections.append((name, data[start:start + size]))
    return symbols, symbol_count, sections


def check_stripped(packed, built):
    symbols, symbol_count, sections = pe_sections(packed)
    if symbols or symbol_count:
        sys.exit(f"the exe in the ZIP has a symbol table ({symbol_count} symbols)")
    # Long section names ("/4") point into the string table, which only debug sections use.
    extra = [name for name, _ in sections if name.startswith(("/", ".debug"))]
    if extra:
        sys.exit(f"the exe in the ZIP keeps debug sections {extra}")
    # Stripping drops symbols only: every section that remains is the build's, byte for byte.
    original = dict(pe_sections(built)[2])
    for name, raw in sections:
        if original.get(name) != raw:
            sys.exit(f"section {name} of the exe in the ZIP differs from the build's exe")


def check_icon(data, what, source):
    """Each picture of the program's icon is in the file, as Windows' icon resources keep them."""
    with open(os.path.join(source, "resources", "modalscope.ico"), "rb") as f:
        ico = f.read()
    count = struct.unpack_from("<H", ico, 4)[0]
    for i in range(count):
        size, start = struct.unpack_from("<II", ico, 6 + 16 * i + 8)
        if ico[start:start + size] not in data:
            sys.exit(f"{what} lacks picture {i + 1} of the program's icon")


def check_checksum(archive):
    path = archive + ".sha256"
    if not os.path.exists(path):
        sys.exit(f"no checksum file {path}")
    with open(path, encoding="ascii") as f:
        line = f.read()
    with open(archive, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    # The format `sha256sum -c` reads: the digest, two spaces, the file's name.
    name = os.path.basename(archive)
    if line != f"{digest}  {name}\n":
        sys.exit(f"{path} holds {line!r}, want the digest {digest} of {name}")


def check_runs(exe_bytes, probe, wine):
    here = os.path.dirname(os.path.abspath(__file__))
    sys.path.insert(0, os.path.join(here, "..", "tools", "shared"))
    from desktop import Program  # noqa: E402

    unpacked = tempfile.mkdtemp(prefix="modalscope-zip-")
    program = None
    try:
        exe = os.path.join(unpacked, "modalscope.exe")
        with open(exe, "wb") as f:
            f.write(exe_bytes)
        program = Program(exe, probe, wine)
        program.wait_for_window()
        program.close()
        code = program.wait_exit()
        if code != 0:
            sys.exit(f"the exe from the ZIP ended with {code}, want 0")
        settings = program.settings_text()
        if settings is None or not settings.startswith(b"Width "):
            sys.exit(f"the exe from the ZIP wrote {settings!r} to default.txt")
    finally:
        if program is not None:
            program.cleanup()
        shutil.rmtree(unpacked, ignore_errors=True)


def main():
    build, exe, source = sys.argv[1:4]
    probe_and_wine = sys.argv[4:6]
    output = os.path.join(build, "package")
    archive = os.path.join(output, NAME)
    for old in (archive, archive + ".sha256"):  # a file left from an earlier run proves nothing
        if os.path.exists(old):
            os.remove(old)
    subprocess.run(["cpack", "-G", "ZIP", "-B", output], cwd=build, check=True,
                   stdout=subprocess.DEVNULL)

    with zipfile.ZipFile(archive) as z:
        names = sorted(n for n in z.namelist() if not n.endswith("/"))
        want = ["LICENSE", "README.md", "modalscope.exe"]
        if names != want:
            sys.exit(f"{archive} holds {names}, want {want}")
        for name in ("README.md", "LICENSE"):
            with open(os.path.join(source, name), "rb") as f:
                if z.read(name) != f.read():
                    sys.exit(f"{name} in the ZIP differs from the source's")
        packed = z.read("modalscope.exe")
    with open(exe, "rb") as f:
        check_stripped(packed, f.read())
    check_icon(packed, "the exe in the ZIP", source)
    check_checksum(archive)
    if probe_and_wine:
        check_runs(packed, *probe_and_wine)
    print(f"ok {archive} ({len(packed)} bytes of exe)")


if __name__ == "__main__":
    main()
