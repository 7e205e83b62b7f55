#!/usr/bin/env bash
# The main job: installs what is missing, builds everything (native logic and tools, the x86_64
# test build and the i686 deliverables), then shows the road of one batch under Wine:
# a DHCP log becomes mac.ini in Brevane, and a simulated PC configures itself with Tolvik.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export BUILD_ROOT=${BUILD_ROOT:-$root/build}

bash scripts/install-deps.sh
for kind in native win64 win32; do
  echo "== build $kind"
  scripts/build.sh "$kind"
done

echo
echo "== deliverables (i686)"
ls -l "$BUILD_ROOT"/win32/*/*.exe "$BUILD_ROOT"/win32/*.exe 2>/dev/null | grep -E 'Tolvik|Brevane|maclist' || true

if [ -f tests/e2e/road.sh ]; then
  echo
  echo "== the road of one batch under Wine"
  WIN64_BUILD=$BUILD_ROOT/win64 NATIVE_BUILD=$BUILD_ROOT/native SHOW_ROAD=1 bash tests/e2e/road.sh </dev/null
fi
