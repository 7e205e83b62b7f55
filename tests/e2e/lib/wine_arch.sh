# Sourced by the end-to-end scripts: which build they test, and under which Wine.
#   E2E_ARCH=x86_64 (default): the x86_64 build ($WIN64_BUILD, else build/win64) under the
#     system's Wine 8 (wine64).
#   E2E_ARCH=i686: the i686 deliverables ($WIN32_BUILD, else build/win32) under Wine 10, whose
#     WoW64 mode runs 32-bit programs, in its chroot (tests/wine/wine10.sh).
#   E2E_WINE=8|10 overrides the Wine version, WIN_BUILD the build directory.
# Sets WIN_BUILD, WINE_BIN and WINESERVER_BIN (programs, so they also run under env and
# ip netns exec), exports WINE64 and WINESERVER for tests/wine/wine-env.sh, and sets REG_VIEW, the
# reg.exe switch that shows HKLM\Software as a program of this build sees it (Wine 10 keeps a
# 32-bit program's writes there under Wow6432Node, as 64-bit Windows does).
e2e_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
E2E_ARCH=${E2E_ARCH:-x86_64}
case "$E2E_ARCH" in
  x86_64) WIN_BUILD=${WIN_BUILD:-${WIN64_BUILD:-$e2e_root/build/win64}}; E2E_WINE=${E2E_WINE:-8} REG_VIEW= ;;
  i686) WIN_BUILD=${WIN_BUILD:-${WIN32_BUILD:-$e2e_root/build/win32}}; E2E_WINE=${E2E_WINE:-10} REG_VIEW=/reg:32 ;;
  *) echo "E2E_ARCH must be x86_64 or i686, not $E2E_ARCH" >&2; exit 2 ;;
esac
case "$E2E_WINE" in
  8) WINE_BIN=$e2e_root/tests/wine/wine8/wine WINESERVER_BIN=/usr/lib/wine/wineserver ;;
  10) WINE_BIN=$e2e_root/tests/wine/wine10/wine WINESERVER_BIN=$e2e_root/tests/wine/wine10/wineserver ;;
  *) echo "E2E_WINE must be 8 or 10, not $E2E_WINE" >&2; exit 2 ;;
esac
export WIN_BUILD E2E_ARCH E2E_WINE
export WINE64=$WINE_BIN WINESERVER=$WINESERVER_BIN
echo "-- $E2E_ARCH build $WIN_BUILD under Wine $E2E_WINE"
