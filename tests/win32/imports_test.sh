#!/usr/bin/env bash
# A Windows program needs nothing but the DLLs every Windows has: imports_test.sh OBJDUMP PROGRAM...
# Fails naming any other DLL a program imports (a compiler runtime left dynamic, a library of the build).
set -euo pipefail
objdump=$1
shift
system_dlls=" kernel32.dll user32.dll gdi32.dll opengl32.dll glu32.dll winmm.dll dinput8.dll dinput.dll
              dsound.dll ole32.dll oleaut32.dll msvcrt.dll advapi32.dll shell32.dll "
status=0
for program in "$@"; do
    mapfile -t dlls < <("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p')
    if [ ${#dlls[@]} -eq 0 ]; then
        echo "$program: no imports found"
        status=1
    fi
    for dll in "${dlls[@]}"; do
        lower=${dll,,}
        if [[ $system_dlls != *" $lower "* ]]; then
            echo "$program imports $dll, which is not a system DLL"
            status=1
        fi
    done
    echo "$(basename "$program"): ${dlls[*]}"
done
exit $status
