#!/usr/bin/env bash
# Tolvik.exe's window under Wine and Xvfb, in a network namespace whose adapter has a chosen MAC:
# the driver checks the layout and the summary, then uses the buttons and keys as a user would.
set -uo pipefail
name=tolvik_window
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/e2e/lib/wine_arch.sh"

ns=tolvik-win-$$
source "$root/tests/e2e/lib/free_display.sh"
display_number=$(free_display 95)
display=:$display_number
mac=02:00:c0:00:02:2a
mac_text=0200C000022A
prefix=/tmp/tolvik-wine/h5-window-$$
work=$(mktemp -d /tmp/tolvik-window.XXXXXX)
artifacts=$root/artifacts/$name
xvfb_pid=

log() { echo "-- $*"; }
fail() { echo "FAIL $name: $*"; exit 1; }

cleanup() {
  if [ -d "$prefix" ]; then
    ip netns exec "$ns" env WINEPREFIX="$prefix" "$WINESERVER_BIN" -k >/dev/null 2>&1
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  ip netns del "$ns" 2>/dev/null
  rm -rf "$prefix" "$work"
}
trap cleanup EXIT

for exe in Tolvik.exe tolvik_driver.exe netsh.exe wmic.exe; do
  [ -f "$WIN_BUILD/$exe" ] || fail "$WIN_BUILD/$exe is missing"
done
command -v Xvfb >/dev/null || fail "Xvfb is not installed"
mkdir -p "$artifacts"

# The namespace: one veth pair, its first end carrying the MAC that mac.ini lists.
ip netns add "$ns" || fail "cannot create network namespace"
ip -n "$ns" link set lo up
ip -n "$ns" link add tw0 address "$mac" type veth peer name tw1 address 02:00:c0:00:02:2b
ip -n "$ns" addr add 192.0.2.10/24 dev tw0
ip -n "$ns" link set tw0 up
ip -n "$ns" link set tw1 up

in_ns() { ip netns exec "$ns" "$@"; }
ip netns exec "$ns" Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
# The server's own process id, from its lock file (ip may run it as a child of its own).
for _ in $(seq 50); do
  [ -s "/tmp/.X$display_number-lock" ] && break
  sleep 0.1
done
xvfb_pid=$(tr -d ' \n' <"/tmp/.X$display_number-lock" 2>/dev/null)
grep -qa Xvfb "/proc/$xvfb_pid/cmdline" 2>/dev/null || { xvfb_pid=; fail "Xvfb did not start on $display"; }

# Everything Wine runs in the namespace: its server, its services (which list the adapters), us.
wine_env=(env DISPLAY="$display" WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
          LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8)
wine() { in_ns "${wine_env[@]}" "$WINE_BIN" "$@"; }
mkdir -p "$prefix"
in_ns "${wine_env[@]}" "$WINESERVER_BIN" -p </dev/null >/dev/null 2>&1
wine wineboot -i </dev/null >/dev/null 2>&1
[ -d "$prefix/drive_c/windows/system32" ] || fail "the Wine prefix was not created"

driver() { wine "$WIN_BUILD/tolvik_driver.exe" "$@" </dev/null; }

# No window manager runs on the Xvfb display: Wine draws the title bars itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f </dev/null >/dev/null 2>&1

# The window's in-process tests (font, icon, window menu, version refusal, keys, close order).
# They are GoogleTest programs, which only the x86_64 build holds.
if [ -f "$WIN_BUILD/tolvik_window_tests.exe" ]; then
  log "window tests in process"
  wine "$WIN_BUILD/tolvik_window_tests.exe" </dev/null >"$work/window_tests.out" 2>&1
  tr -d '\r' <"$work/window_tests.out" | grep -E '^\[  (PASSED|FAILED) ' 
  grep -q '^\[  PASSED  \]' "$work/window_tests.out" && ! grep -q '^\[  FAILED  \]' "$work/window_tests.out" ||
    fail "window tests: $(grep -E 'FAILED|Failure' "$work/window_tests.out" | head -5)"
elif [ "$E2E_ARCH" = x86_64 ]; then
  fail "$WIN_BUILD/tolvik_window_tests.exe is missing"
fi

# The connection name that the summary shows and netsh is given.
guid=$(driver adapters | tr -d '\r' | awk -v m="$mac_text" '$1 == "adapter" && $3 == m {print $2}')
[ -n "$guid" ] || fail "Wine lists no adapter with MAC $mac_text"
wine reg add "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\$guid\\Connection" \
  /v Name /t REG_SZ /d "本地连接" /f </dev/null >/dev/null 2>&1 || fail "cannot name the connection"

# One program directory per scenario: Tolvik, the recording netsh and wmic, mac.ini, icd.ini.
make_pc() {
  local dir=$work/$1
  mkdir -p "$dir"
  cp "$WIN_BUILD/Tolvik.exe" "$WIN_BUILD/netsh.exe" "$WIN_BUILD/wmic.exe" "$dir/"
  printf '[Config]\r\nGateway=192.0.2.1\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=192.0.2.53\r\nDNS2=\r\nWorkGroup=WORKGROUP\r\n[list]\r\n0200C000022B=192.0.2.22,PC-022\r\n%s=192.0.2.21,PC-021\r\n' \
    "$mac_text" >"$dir/mac.ini"
  printf '[cfg]\r\npath=C:\\ICD\r\n[list]\r\nr1\r\n[r1]\r\nfromip=192.0.2.1\r\ntoip=192.0.2.50\r\nAppServerIP=192.0.2.100\r\nMainCCSIP=192.0.2.101\r\nBackCCSIP=192.0.2.102\r\n' \
    >"$dir/icd.ini"
  echo "$dir"
}

start_tolvik() {  # start_tolvik DIR [switches...]
  local dir=$1
  shift
  (cd "$dir" && wine "$dir/Tolvik.exe" "$@" </dev/null >"$dir/tolvik.out" 2>&1 &)
}

records() { cat "$1"/commands.log 2>/dev/null; }

# The commands an apply of this PC's entry starts, byte for byte (GBK, LF after each record).
expect_applied() {  # expect_applied DIR
  local want=$work/commands.want
  printf 'netsh  interface ip set address 本地连接 static 192.0.2.21 255.255.255.0 192.0.2.1 0\nnetsh  interface ip set dns 本地连接 static none\nnetsh  interface ip add dns 本地连接 192.0.2.53\nwmic  computersystem where Name="%s" call JoinDomainOrWorkgroup Name="WORKGROUP"\n' \
    "$computer_name" | iconv -f UTF-8 -t GBK >"$want"
  cmp -s "$want" "$1/commands.log" ||
    fail "recorded commands differ: $(od -c "$1/commands.log" 2>&1 | head -20) want $(od -c "$want" | head -20)$(
      cat "$1/commands.err" 2>/dev/null | sed 's/^/; stand-in failed: /')"
}

computer_name=$(wine cmd /c 'echo %COMPUTERNAME%' </dev/null 2>/dev/null | tr -d '\r\n')
[ -n "$computer_name" ] || fail "no computer name"

# The summary for this PC, byte for byte (GBK, CR LF after every line).
printf '计算机名将改为: PC-021\r\n工作组将改名为: WORKGROUP\r\n\r\n“本地连接”所在网卡的配置将改为: \r\n      IP: 192.0.2.21\r\n子网掩码: 255.255.255.0\r\n默认网关: 192.0.2.1\r\n  跃点数: 自动\r\n首选 DNS: 192.0.2.53\r\nICD 安装路径:C:\\ICD\r\n主用 CCS:192.0.2.101\r\n备用 CCS:192.0.2.102\r\n应用服务器:192.0.2.100\r\n' |
  iconv -f UTF-8 -t GBK >"$work/summary.gbk" || fail "iconv"

# 1. Look and keys: layout, summary, screenshot, About, Enter where it must do nothing, Esc.
log "look and keys"
pc=$(make_pc look)
start_tolvik "$pc"
driver wait-window 30000 check-layout expect-info "$work/summary.gbk" || fail "window or summary wrong"
sleep 1
in_ns env DISPLAY="$display" import -window root "$artifacts/tolvik_window.png" || fail "screenshot"
# The window menu open (Alt+Space), with the About item at its end.
driver wait-window 5000 sys-command menu || fail "window menu"
sleep 1
in_ns env DISPLAY="$display" import -window root "$artifacts/tolvik_window_menu.png" || fail "screenshot"
driver wait-window 5000 key esc-menu || fail "closing the window menu"
driver wait-window 5000 sys-command about about-box expect-alive \
  focus 8 key enter expect-alive expect-check 8 1 \
  focus 13 key enter expect-alive \
  click 9 expect-check 9 0 click 9 expect-check 9 1 \
  focus 11 key esc wait-gone 15000 || fail "About box or keys"
[ -z "$(records "$pc")" ] || fail "something was applied in the look-and-keys run: $(records "$pc")"
[ -f "$pc/mac.ini" ] || fail "Esc deleted mac.ini"

# 2. The apply button with /K: netsh and wmic run, the window closes, mac.ini is deleted.
log "apply button with /K"
pc=$(make_pc apply)
start_tolvik "$pc" /K
driver wait-window 30000 click 1 wait-gone 120000 || fail "apply did not close the window"
expect_applied "$pc"
[ ! -f "$pc/mac.ini" ] || fail "/K after an apply left mac.ini"

# 3. Enter in the address box applies as the button does.
log "Enter in the address box"
pc=$(make_pc enter)
start_tolvik "$pc"
driver wait-window 30000 set-text 11 198.51.100.9 focus 11 key enter wait-gone 120000 ||
  fail "Enter in the address box did not apply and close"
expect_applied "$pc"
[ -f "$pc/mac.ini" ] || fail "mac.ini deleted without /K"

# 4. Add to start-up: the RunOnce value from the boxes and the address box, then the close.
log "add to start-up"
pc=$(make_pc runonce)
start_tolvik "$pc"
driver wait-window 30000 click 10 expect-check 10 0 set-text 11 "  198.51.100.7 " click 2 \
  wait-gone 30000 || fail "add to start-up did not close the window"
winpath=$(wine winepath -w "$pc/Tolvik.exe" 2>/dev/null | tr -d '\r')
want="\"$winpath\" /A /K /N /ip:198.51.100.7"
got=$(wine reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\RunOnce' /v Tolvik $REG_VIEW 2>/dev/null |
  tr -d '\r' | sed -n 's/^ *Tolvik *REG_SZ *//p')
[ "$got" = "$want" ] || fail "RunOnce value [$got], want [$want]"
[ -z "$(records "$pc")" ] || fail "add to start-up applied something"
[ -f "$pc/mac.ini" ] || fail "add to start-up deleted mac.ini"

# 5. Exit button and title-bar close with /K /R: nothing deleted, nothing applied.
log "exit button and title bar with /K /R"
pc=$(make_pc exit)
start_tolvik "$pc" /K /R
driver wait-window 30000 click 5 wait-gone 15000 || fail "exit button did not close the window"
start_tolvik "$pc" /K /R
driver wait-window 30000 sys-command close wait-gone 15000 || fail "title bar close failed"
[ -f "$pc/mac.ini" ] && [ -f "$pc/Tolvik.exe" ] || fail "closing without an apply deleted files"
[ -z "$(records "$pc")" ] || fail "closing applied something"

# 6. /? hides the window, shows the help, and the program ends.
log "help switch"
pc=$(make_pc help)
start_tolvik "$pc" "/?"
driver help-box wait-gone 15000 || fail "help switch"

# 7. /A applies during construction; the window closes by itself as soon as the loop runs.
log "automatic apply"
pc=$(make_pc auto)
(cd "$pc" && timeout 120 ip netns exec "$ns" "${wine_env[@]}" "$WINE_BIN" "$pc/Tolvik.exe" /A \
  </dev/null >/dev/null 2>&1) || fail "Tolvik /A did not end by itself"
expect_applied "$pc"
[ -f "$pc/mac.ini" ] || fail "/A without /K deleted mac.ini"

echo "PASS $name"
