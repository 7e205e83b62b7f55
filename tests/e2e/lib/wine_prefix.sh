# Sourced by lib/common.sh: Wine prefixes set up as the project runs its programs, each with its
# wineserver in the namespace of the PC it stands for, and the programs run there.
#
# A PC is named by three words: NS (its network namespace; empty for the host's network), PREFIX
# (its Wine prefix folder) and DISPLAY (its X display; empty for programs without a window).
# Scripts name their PCs once, e.g.  wine() { wine_in "$ns" "$prefix" "$display" "$@"; }
# Two variables, set for one call, change a run:
#   WINE_TIMEOUT=SECONDS    ends the run after that long (with timeout's exit status 124);
#   EXTRA_DLL_OVERRIDES=... Wine DLL overrides on top of the project's own and the stand-ins'
#                           (lib/stand_ins.sh); a later override of the same name wins.

# wine_env_in NS PREFIX DISPLAY COMMAND...: COMMAND in NS with the project's Wine settings.
wine_env_in() {
  local ns=$1 prefix=$2 display=$3 stand_ins
  shift 3
  stand_ins=$(stand_in_overrides "$prefix")
  local settings=(WINEPREFIX="$prefix" WINEDEBUG=-all
                  WINEDLLOVERRIDES="mscoree,mshtml=${stand_ins:+;$stand_ins}${EXTRA_DLL_OVERRIDES:+;$EXTRA_DLL_OVERRIDES}"
                  LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8)
  if [ -n "$display" ]; then settings+=(DISPLAY="$display"); else settings=(-u DISPLAY "${settings[@]}"); fi
  in_ns "$ns" ${WINE_TIMEOUT:+timeout "$WINE_TIMEOUT"} env "${settings[@]}" "$@"
}

# wine_in NS PREFIX DISPLAY PROGRAM [ARGS...]: Wine runs PROGRAM on that PC, without input.
wine_in() {
  local ns=$1 prefix=$2 display=$3
  shift 3
  wine_env_in "$ns" "$prefix" "$display" "$WINE_BIN" "$@" </dev/null
}

# make_wine_prefix NS PREFIX DISPLAY: a new prefix for that PC, stopped and removed at exit. Its
# wineserver, and the services it starts (which list the adapters), run in NS, so they see only
# that PC's network. With a display, Wine draws the frames itself and shows text in the CJK font.
make_wine_prefix() {
  local ns=$1 prefix=$2 display=$3 font
  e2e_prefixes+=("$ns|$prefix")
  remove_at_exit "$prefix"
  mkdir -p "$prefix"
  # The server first, with its output detached: a server (or service) that inherited a pipe
  # would hold a caller's pipe open after the program it ran has ended.
  wine_env_in "$ns" "$prefix" "$display" "$WINESERVER_BIN" -p </dev/null >/dev/null 2>&1
  wine_in "$ns" "$prefix" "$display" wineboot -i >/dev/null 2>&1
  [ -d "$prefix/drive_c/windows/system32" ] || fail "the Wine prefix $prefix was not created"
  [ -n "$display" ] || return 0
  # No window manager runs on Xvfb: without this, windows would have no title bar or frame.
  wine_in "$ns" "$prefix" "$display" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ \
    /d N /f >/dev/null 2>&1 || fail "cannot set Wine's window frames"
  # Neither Tahoma nor SimSun is installed here: both are shown with the CJK font's bitmap face,
  # which draws 12-pixel text crisply (the fallback Wine picks by itself drops glyphs such as "-").
  for font in Tahoma SimSun 宋体; do
    wine_in "$ns" "$prefix" "$display" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" \
      /d 'WenQuanYi Zen Hei Sharp' /f >/dev/null 2>&1 || fail "cannot replace the font $font"
  done
}

# --- The PC's adapters in Windows' registry ----------------------------------------------------
# adapter_guid MAC_TEXT: from an adapter listing on input (lines "adapter GUID MACTEXT", as the
# drivers and tolvik_headless print them), the GUID of the adapter with that MAC.
adapter_guid() { tr -d '\r' | awk -v m="$1" '$1 == "adapter" && $3 == m {print $2}'; }
connection_key() {  # connection_key GUID: where the adapter's connection name is kept
  echo "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\$1\\Connection"
}
tcpip_key() { echo "HKLM\\SYSTEM\\CurrentControlSet\\Services\\$1\\Parameters\\Tcpip"; }

# show_output LABEL FILE: a Windows program's console output (GBK, CR LF) as UTF-8 lines headed
# [LABEL], without Wine's "Read access denied" noise.
show_output() {
  tr -d '\r' <"$2" | iconv -f GBK -t UTF-8 -c | grep -av 'Read access denied' | sed "s/^/[$1] /"
}
