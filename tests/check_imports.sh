#!/bin/sh
# Fails unless the exe imports only Windows' known DLLs, which Windows always takes from
# System32: any other DLL is looked for first in the exe's folder, where anything may lie.
# Active Accessibility (oleacc) is not one: the program loads it from System32 itself.
set -eu
dlls=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || { echo "no imports read from $1"; exit 1; }
status=0
for dll in $dlls; do
    case "$dll" in
    advapi32.dll | clbcatq.dll | combase.dll | comdlg32.dll | coml2.dll | difxapi.dll | \
        gdi32.dll | gdiplus.dll | imagehlp.dll | imm32.dll | kernel32.dll | msctf.dll | \
        msvcrt.dll | normaliz.dll | nsi.dll | ole32.dll | oleaut32.dll | psapi.dll | \
        rpcrt4.dll | sechost.dll | setupapi.dll | shcore.dll | shell32.dll | shlwapi.dll | \
        user32.dll | wldap32.dll | ws2_32.dll) echo "ok: $dll" ;;
    *) echo "not a known DLL: $dll"; status=1 ;;
    esac
done
exit $status
