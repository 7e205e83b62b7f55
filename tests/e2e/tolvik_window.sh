#!/usr/bin/env bash
# Tolvik.exe's window under Wine and Xvfb, in a network namespace whose adapter has a chosen MAC:
# the driver checks the layout and the summary, then uses the buttons and keys as a user would.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/e2e/lib/common.sh"

ns=tolvik-win-$$
mac=02:00:c0:00:02:2a
mac_text=0200C000022A
prefix=/tmp/tolvik-wine/h5-window-$$
artifacts=$root/artifacts/$e2e_name

require_built Tolvik.exe tolvik_driver.exe netsh.exe wmic.exe
mkdir -p "$artifacts"

# The PC: its adapter carries the MAC that mac.ini lists; the other end of the veth is listed too.
make_pc_namespace "$ns" "$mac" 192.0.2.10/24 02:00:c0:00:02:2b
start_xvfb 95 "$ns"
make_wine_prefix "$ns" "$prefix" "$display"
install_stand_ins "$prefix" netsh.exe wmic.exe
wine() { wine_in "$ns" "$prefix" "$display" "$@"; }
driver() { wine "$WIN_BUILD/tolvik_driver.exe" "$@"; }

# The window's in-process tests (font, icon, window menu, version refusal, keys, close order).
# They are GoogleTest programs, which only the x86_64 build holds.
if [ -f "$WIN_BUILD/tolvik_window_tests.exe" ]; then
  log "window tests in process"
  wine "$WIN_BUILD/tolvik_window_tests.exe" >"$work/window_tests.out" 2>&1
  tr -d '\r' <"$work/window_tests.out" | grep -E '^\[  (PASSED|FAILED) ' 
  grep -q '^\[  PASSED  \]' "$work/window_tests.out" && ! grep -q '^\[  FAILED  \]' "$work/window_tests.out" ||
    fail "window tests: $(grep -E 'FAILED|Failure' "$work/window_tests.out" | head -5)"
elif [ "$E2E_ARCH" = x86_64 ]; then
  fail "$WIN_BUILD/tolvik_window_tests.exe is missing"
fi

# The connection name that the summary shows and netsh is given.
guid=$(driver adapters | adapter_guid "$mac_text")
[ -n "$guid" ] || fail "Wine lists no adapter with MAC $mac_text"
wine reg add "$(connection_key "$guid")" /v Name /t REG_SZ /d "本地连接" /f >/dev/null 2>&1 ||
  fail "cannot name the connection"

# One program directory per scenario: Tolvik, mac.ini, icd.ini; the scenario's records of the
# stand-ins in the system directory are taken into it (lib/stand_ins.sh).
make_pc() {
  local dir=$work/$1
  mkdir -p "$dir"
  cp "$WIN_BUILD/Tolvik.exe" "$dir/"
  printf '[Config]\r\nGateway=192.0.2.1\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=192.0.2.53\r\nDNS2=\r\nWorkGroup=WORKGROUP\r\n[list]\r\n0200C000022B=192.0.2.22,PC-022\r\n%s=192.0.2.21,PC-021\r\n' \
    "$mac_text" >"$dir/mac.ini"
  printf '[cfg]\r\npath=C:\\ICD\r\n[list]\r\nr1\r\n[r1]\r\nfromip=192.0.2.1\r\ntoip=192.0.2.50\r\nAppServerIP=192.0.2.100\r\nMainCCSIP=192.0.2.101\r\nBackCCSIP=192.0.2.102\r\n' \
    >"$dir/icd.ini"
  echo "$dir"
}

start_tolvik() {  # start_tolvik DIR [switches...]
  local dir=$1
  shift
  (cd "$dir" && wine "$dir/Tolvik.exe" "$@" >"$dir/tolvik.out" 2>&1 &)
}

records() { take_stand_in_records "$prefix" "$1"; cat "$1"/commands.log 2>/dev/null; }

# The commands an apply of this PC's entry starts, byte for byte (GBK, LF after each record).
expect_applied() {  # expect_applied DIR
  local want=$work/commands.want
  take_stand_in_records "$prefix" "$1"
  printf 'netsh  interface ip set address 本地连接 static 192.0.2.21 255.255.255.0 192.0.2.1 0\nnetsh  interface ip set dns 本地连接 static none\nnetsh  interface ip add dns 本地连接 192.0.2.53\nwmic  computersystem where Name="%s" call JoinDomainOrWorkgroup Name="WORKGROUP"\n' \
    "$computer_name" | gbk >"$want"
  expect_same_bytes "$1/commands.log" "$want" "recorded commands differ$(
    sed 's/^/; stand-in failed: /' "$1/commands.err" 2>/dev/null)"
}

computer_name=$(wine cmd /c 'echo %COMPUTERNAME%' 2>/dev/null | tr -d '\r\n')
[ -n "$computer_name" ] || fail "no computer name"

# The summary for this PC, byte for byte (GBK, CR LF after every line).
printf '计算机名将改为: PC-021\r\n工作组将改名为: WORKGROUP\r\n\r\n“本地连接”所在网卡的配置将改为: \r\n      IP: 192.0.2.21\r\n子网掩码: 255.255.255.0\r\n默认网关: 192.0.2.1\r\n  跃点数: 自动\r\n首选 DNS: 192.0.2.53\r\nICD 安装路径:C:\\ICD\r\n主用 CCS:192.0.2.101\r\n备用 CCS:192.0.2.102\r\n应用服务器:192.0.2.100\r\n' |
  gbk >"$work/summary.gbk" || fail "iconv"

# 1. Look and keys: layout, summary, screenshot, About, Enter where it must do nothing, Esc.
log "look and keys"
pc=$(make_pc look)
start_tolvik "$pc"
driver wait-window 30000 check-layout expect-info "$work/summary.gbk" || fail "window or summary wrong"
sleep 1
in_ns "$ns" env DISPLAY="$display" import -window root "$artifacts/tolvik_window.png" || fail "screenshot"
# The window menu open (Alt+Space), with the About item at its end.
driver wait-window 5000 sys-command menu || fail "window menu"
sleep 1
in_ns "$ns" env DISPLAY="$display" import -window root "$artifacts/tolvik_window_menu.png" || fail "screenshot"
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
want="\"$(winpath "$pc/Tolvik.exe")\" /A /K /N /ip:198.51.100.7"
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
(cd "$pc" && WINE_TIMEOUT=120 wine "$pc/Tolvik.exe" /A >/dev/null 2>&1) || fail "Tolvik /A did not end by itself"
expect_applied "$pc"
[ -f "$pc/mac.ini" ] || fail "/A without /K deleted mac.ini"

pass
