#!/usr/bin/env bash
# list_imports.sh EXE: prints "DLL FUNCTION" for every function the program imports by name, and
# "DLL #ORDINAL" for one imported by number (the DLL name in lower case).
set -euo pipefail
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
"$objdump" -p "$1" | awk '
  /^\tDLL Name: / { dll = tolower($3); next }
  dll != "" && /^\t[0-9a-f]+\t/ {
    n = split($0, f, /[ \t]+/)
    if (f[n] ~ /^<none>$/ || n < 4) print dll, "#" f[3]; else print dll, f[n]
    next
  }
  /^$/ { dll = "" }'
