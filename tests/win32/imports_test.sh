#!/usr/bin/env bash
# A Windows program needs nothing but the DLLs every Windows has: imports_test.sh OBJDUMP PROGRAM...
# Fails naming any other DLL a program imports (a compiler runtime left dynamic, a library of the build).
set -euo pipefail
objdump=$1
shift
system='kernel32|user32|gdi32|opengl32|glu32|winmm|dinput8|dinput|dsound|ole32|oleaut32|msvcrt|advapi32|shell32'
for program in "$@"; do
    dlls=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p')
    echo "$(basename "$program"):" $dlls
    [ -n "$dlls" ] || { echo "$program: no imports found" && exit 1; }
    ! grep -viE "^($system)\.dll$" <<<"$dlls" || { echo "$program imports the DLLs above, not system ones" && exit 1; }
done
