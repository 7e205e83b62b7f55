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

# The same batch on Linux with maclist: the log becomes mac.ini, the list is checked, and the plan
# shows what Tolvik will show and run on the PC whose adapter is 00:e0:fd:3a:1b:01 (the PC that
# road.sh then configures under Wine).
maclist=$BUILD_ROOT/native/tools/maclist/maclist
if [ -x "$maclist" ]; then
  echo
  echo "== maclist on Linux: sample log -> mac.ini -> check -> plan for one PC"
  demo=$(mktemp -d)
  printf '%s\r\n' \
    'Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]' \
    'Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:0b:29:11:22:33 [12/10 14:03:29.015]' \
    'Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:e0:fd:3a:1b:02 [12/10 14:05:01.001]' \
    'Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:E0:FD:3A:1B:01 [12/10 14:05:02.500]' >"$demo/tftpd32.log"
  (
    cd "$demo"
    set -x
    "$maclist" generate tftpd32.log --ip 192.0.2.11 --gateway 192.0.2.1 --dns1 192.0.2.53 --workgroup WORKGROUP
    "$maclist" check mac.ini
    "$maclist" plan mac.ini --mac 00:e0:fd:3a:1b:01
  ) || echo "maclist demo failed"
  rm -rf "$demo"
fi

if [ -f tests/e2e/road.sh ]; then
  echo
  echo "== the road of one batch under Wine"
  WIN64_BUILD=$BUILD_ROOT/win64 NATIVE_BUILD=$BUILD_ROOT/native SHOW_ROAD=1 bash tests/e2e/road.sh </dev/null
fi
