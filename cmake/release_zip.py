#!/usr/bin/env python3
"""Writes a ZIP again so that its bytes depend on its files' names and contents alone: the
entries in name order, each dated at the source's commit (SOURCE_DATE_EPOCH, which
cmake/release_time.cmake sets), with fixed permissions and no owner or access times.

usage: release_zip.py ARCHIVE"""

import os
import sys
import time
import zipfile

DOS_EPOCH = 315532800  # 1980-01-01, the earliest time a ZIP entry can hold


def main():
    archive = sys.argv[1]
    stamp = time.gmtime(max(int(os.environ.get("SOURCE_DATE_EPOCH", DOS_EPOCH)), DOS_EPOCH))[:6]
    with zipfile.ZipFile(archive) as z:
        files = sorted((i.filename, z.read(i)) for i in z.infolist() if not i.is_dir())
    with zipfile.ZipFile(archive, "w") as out:
        for name, data in files:
            entry = zipfile.ZipInfo(name, stamp)
            entry.create_system = 3  # Unix, so that the permissions below are read
            entry.external_attr = 0o100644 << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            out.writestr(entry, data, compresslevel=9)


if __name__ == "__main__":
    main()
