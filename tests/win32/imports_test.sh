#!/usr/bin/env bash
# A Windows program needs nothing but the DLLs every Windows has: imports_test.sh OBJDUMP PROGRAM...
# Fails naming any other DLL a program imports (a compiler runtime left dynamic, a library of the build).
set -euo pipefail
objdump=$1
shift
system_dlls="kernel32 user32 gdi32 opengl32 glu32 winmm dinput8 dinput dsound ole32 oleaut32 msvcrt advapi32 shell32"
status=0
for program in "$@"; do
    dlls=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p')
    [ -n "$dlls" ] || { echo "$program: no imports found"; status=1; }
    for dll in $dlls; do
        [[ " $system_dlls " == *" $(basename "${dll,,}" .dll) "* ]] ||
            { echo "$program imports $dll, which is not a system DLL"; status=1; }
    done
    echo "$(basename "$program"):" $dlls
done
exit $status
