#!/usr/bin/env python3
"""Builds the release ZIP with CPack and checks that it holds exactly the exe, the README
and the licence, each equal to its source."""

import os
import subprocess
import sys
import zipfile

build, exe, source = sys.argv[1:4]
subprocess.run(["cpack", "-G", "ZIP", "-B", os.path.join(build, "package")], cwd=build,
               check=True, stdout=subprocess.DEVNULL)
archive = os.path.join(build, "package", "Modalscope-1.0-win64.zip")
with zipfile.ZipFile(archive) as z:
    names = sorted(n for n in z.namelist() if not n.endswith("/"))
    want = ["LICENSE", "README.md", "modalscope.exe"]
    if names != want:
        sys.exit(f"{archive} holds {names}, want {want}")
    for name, path in [("modalscope.exe", exe), ("README.md", os.path.join(source, "README.md")),
                       ("LICENSE", os.path.join(source, "LICENSE"))]:
        with open(path, "rb") as f:
            if z.read(name) != f.read():
                sys.exit(f"{name} in the ZIP differs from {path}")
print(f"ok {archive}")
