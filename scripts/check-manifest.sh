#!/usr/bin/env bash
# Reads the application manifest out of a Windows program's resource section (.rsrc) and checks
# its requested execution level and its supportedOS entries (Vista, 7, 8, 8.1, 10/11).
# Usage: check-manifest.sh PROGRAM.exe LEVEL     (LEVEL: asInvoker | requireAdministrator)
# Prints one line "ok PROGRAM LEVEL" or the problem, and exits 0 or 1.
set -uo pipefail
exe=${1:?usage: check-manifest.sh PROGRAM.exe LEVEL}
want_level=${2:?usage: check-manifest.sh PROGRAM.exe LEVEL}
name=$(basename "$exe")

# objdump -s prints the section as hex words; perl turns them back into bytes and keeps the one
# XML document in it (the icons and version data around it hold no "<assembly").
manifest=$(x86_64-w64-mingw32-objdump -s -j .rsrc "$exe" 2>/dev/null |
  perl -ne 'next unless /^ [0-9a-f]+ ((?:[0-9a-f]{2,8} ){1,4})/; ($h = $1) =~ s/ //g; print pack("H*", $h)' |
  perl -0777 -ne 'my @m = /(<assembly\b.*?<\/assembly>)/sg; print scalar(@m), "\n", @m')
count=$(head -n 1 <<<"$manifest")
if [ "${count:-0}" != 1 ]; then
  echo "FAIL $name: ${count:-0} manifests in its resource section, want 1"
  exit 1
fi
levels=$(grep -o 'requestedExecutionLevel level="[^"]*"' <<<"$manifest" | sed 's/.*level="//; s/"$//')
if [ "$levels" != "$want_level" ]; then
  echo "FAIL $name: execution level [${levels//$'\n'/,}], want $want_level"
  exit 1
fi
ids=$(grep -o 'supportedOS Id="{[^"]*}"' <<<"$manifest" | sed 's/.*Id="//; s/"$//' | tr 'A-F' 'a-f' | sort)
want_ids=$(printf '%s\n' \
  '{e2011457-1546-43c5-a5fe-008deee3d3f0}' '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' \
  '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}' '{1f676c76-80e1-4239-95bb-83d0f6d0da78}' \
  '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' | sort)
if [ "$ids" != "$want_ids" ]; then
  echo "FAIL $name: supportedOS [${ids//$'\n'/ }], want Vista, 7, 8, 8.1 and 10/11"
  exit 1
fi
echo "ok $name $want_level"
