#!/bin/sh
# Fails unless the exe imports only DLLs that every Windows installation has.
set -eu
dlls=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || { echo "no imports read from $1"; exit 1; }
status=0
for dll in $dlls; do
    case "$dll" in
    kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll) echo "ok: $dll" ;;
    # Active Accessibility and the COM it marshals through, for screen readers.
    oleacc.dll | ole32.dll | oleaut32.dll) echo "ok: $dll" ;;
    *) echo "not a system DLL: $dll"; status=1 ;;
    esac
done
exit $status
