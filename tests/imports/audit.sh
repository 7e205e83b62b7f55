#!/usr/bin/env bash
# audit.sh EXE [ALLOWED_LIST]: fails when the i686 program EXE imports a function that Windows
# 2000 SP4 lacks. Every function it imports (msvcrt.dll aside) must be declared by the MinGW
# headers compiled for Windows 2000 (_WIN32_WINNT=0x0500) and must not be on the reviewed list
# newer_than_windows2000.txt. With ALLOWED_LIST, every function must also be named there (one
# name per line, "#" starts a comment). The PE header's OS and subsystem versions must be at most
# 5.0. Prints one line per problem and a summary line.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=${1:?usage: audit.sh EXE [ALLOWED_LIST]}
allowed_list=${2:-}
cc=${AUDIT_CC:-i686-w64-mingw32-gcc-win32}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

names_of() { sed 's/#.*//; s/[[:space:]]//g; /^$/d' "$1" | sort -u; }

# Every identifier the Windows headers declare for Windows 2000.
printf '%s\n' '#include <winsock2.h>' '#include <windows.h>' '#include <ws2tcpip.h>' \
  '#include <iphlpapi.h>' '#include <commctrl.h>' '#include <commdlg.h>' '#include <shellapi.h>' \
  '#include <lm.h>' >"$work/headers.c"
"$cc" -E -P -D_WIN32_WINNT=0x0500 -DWINVER=0x0500 -D_WIN32_IE=0x0500 "$work/headers.c" |
  grep -oE '[A-Za-z_][A-Za-z0-9_]*' | sort -u >"$work/declared"
names_of "$here/newer_than_windows2000.txt" >"$work/newer"
[ -n "$allowed_list" ] && names_of "$allowed_list" >"$work/allowed"

"$here/list_imports.sh" "$exe" | grep -v '^msvcrt\.dll ' | sort -u >"$work/imports" || true
[ -s "$work/imports" ] || { echo "FAIL $(basename "$exe"): no imports found"; exit 1; }

problems=0
# The loader of Windows 2000 (5.0) refuses a program whose header asks for a later system.
while read -r field major minor; do
  if [ "$major" -gt 5 ] || { [ "$major" -eq 5 ] && [ "$minor" -gt 0 ]; }; then
    echo "FAIL $(basename "$exe"): $field $major.$minor is later than 5.0"; problems=$((problems + 1))
  fi
done < <("${OBJDUMP:-i686-w64-mingw32-objdump}" -p "$exe" | awk '
  $1 == "MajorOSystemVersion" { os_major = $2 } $1 == "MinorOSystemVersion" { os_minor = $2 }
  $1 == "MajorSubsystemVersion" { sub_major = $2 } $1 == "MinorSubsystemVersion" { sub_minor = $2 }
  END { print "OS-version", os_major + 0, os_minor + 0; print "subsystem-version", sub_major + 0, sub_minor + 0 }')

while read -r dll fn; do
  if [[ $fn == \#* ]]; then
    echo "FAIL $(basename "$exe"): $dll $fn imported by number, cannot be checked"; problems=$((problems + 1)); continue
  fi
  if ! grep -qxF "$fn" "$work/declared"; then
    echo "FAIL $(basename "$exe"): $dll $fn is not declared for Windows 2000"; problems=$((problems + 1))
  fi
  if grep -qxF "$fn" "$work/newer"; then
    echo "FAIL $(basename "$exe"): $dll $fn is newer than Windows 2000 (newer_than_windows2000.txt)"
    problems=$((problems + 1))
  fi
  if [ -n "$allowed_list" ] && ! grep -qxF "$fn" "$work/allowed"; then
    echo "FAIL $(basename "$exe"): $dll $fn is not in $(basename "$allowed_list")"; problems=$((problems + 1))
  fi
done <"$work/imports"

dlls=$(awk '{print $1}' "$work/imports" | sort -u | tr '\n' ' ')
echo "$(basename "$exe"): $(wc -l <"$work/imports") functions from ${dlls% }; $problems problem(s)"
[ "$problems" -eq 0 ]
