# Environment for running the Windows builds under wine64 (sourced by the test scripts).
# TOLVIK_WINEPREFIX chooses the prefix; each network namespace needs a prefix of its own, since
# adapter listing happens in the Wine services that the prefix's wineserver starts.
# wine8/wine: wine64 without address-space randomisation (see there).
export WINE64=${WINE64:-$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine8/wine}
export WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEPREFIX=${TOLVIK_WINEPREFIX:-${WINEPREFIX:-/tmp/tolvik-wine/default}}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8

# Creates the prefix once (about 7 s) and keeps its wineserver running for the next programs.
# The server is started first with its output detached: a server (or service) that inherited a
# pipe would keep the caller's pipe open after the test program has ended.
ensure_wine_prefix() {
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$WINE64" wineboot -i </dev/null >/dev/null 2>&1 || true
  fi
}
