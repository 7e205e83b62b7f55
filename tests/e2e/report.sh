#!/usr/bin/env bash
# The batch reports back under Wine: a real tftpd-hpa that accepts writes (--create) serves a
# mac.ini holding report=tftp; Tolvik.exe /A /N on a first PC fetches it from its DHCP server,
# applies its entry and puts tolvik-<MAC>.ini on that server; a second PC (a namespace and Wine
# prefix of its own) whose wmic stand-in prints "ReturnValue = 1326;" reports "failed", keeps its
# window and asks for the next logon again. maclist status on the server's
# folder then shows the first PC done, the second failed and a third no report; its HTML page is
# opened in headless Chromium, whose screenshot is kept in artifacts/report/.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/e2e/lib/common.sh"

ns_a=tolvik-repa-$$       # PC A: its adapter, Xvfb and the Wine prefix's wineserver
ns_b=tolvik-repb-$$       # PC B, the same
peer_ns=tolvik-reps-$$    # the TFTP server, bridged to both PCs
mac_a=02:00:c0:00:02:51
mac_b=02:00:c0:00:02:52
mac_text_a=0200C0000251
mac_text_b=0200C0000252
prefix_a=/tmp/tolvik-wine/report-a-$$
prefix_b=/tmp/tolvik-wine/report-b-$$
artifacts=$root/artifacts/$e2e_name
native=${NATIVE_BUILD:-$root/build/native}
maclist=$(find "$native" -maxdepth 4 -type f -name maclist | head -n 1)

require_built Tolvik.exe tolvik_driver.exe netsh.exe wmic.exe tftp.exe schtasks.exe
[ -x "$maclist" ] || fail "the native maclist is not built in $native"
[ -x /usr/sbin/in.tftpd ] || fail "tftpd-hpa (/usr/sbin/in.tftpd) is not installed"
chromium=$(command -v chromium || command -v chromium-browser)
[ -n "$chromium" ] || fail "chromium is not installed (scripts/install-deps.sh)"
grep -q WMIC_RETURN_VALUE "$root"/tests/wine/programs/wmic/*.cpp ||
  fail "the wmic stand-in does not print a ReturnValue chosen by WMIC_RETURN_VALUE"
mkdir -p "$artifacts"

# --- network and the server: reports are written into its root --------------------------------
make_namespace "$ns_a"
make_namespace "$ns_b"
make_namespace "$peer_ns"
add_adapter "$ns_a" ra0 "$mac_a" 192.0.2.10/24 "$peer_ns" rs0
add_adapter "$ns_b" rb0 "$mac_b" 192.0.2.11/24 "$peer_ns" rs1
ip -n "$peer_ns" link add br0 type bridge || fail "cannot add the server's bridge"
ip -n "$peer_ns" link set rs0 master br0
ip -n "$peer_ns" link set rs1 master br0
ip -n "$peer_ns" addr add 192.0.2.1/24 dev br0
ip -n "$peer_ns" link set br0 up
mkdir -p "$work/srv"
crlf "[Config]" "Gateway=192.0.2.1" "Gwmetric=0" "Mask=255.255.255.0" "DNS1=" "DNS2=" \
  "WorkGroup=WORKGROUP" "report=tftp" "[list]" "$mac_text_a=192.0.2.21,PC-A" \
  "$mac_text_b=192.0.2.22,PC-B" "0200C0000253=192.0.2.23,PC-C" >"$work/srv/mac.ini"
# tftpd-hpa drops to the user nobody, who must be able to create files in its root.
chmod 755 "$work"
chmod 777 "$work/srv"
chmod 644 "$work/srv/mac.ini"
ip netns exec "$peer_ns" /usr/sbin/in.tftpd -L --address 192.0.2.1:69 --secure --create \
  "$work/srv" </dev/null >/dev/null 2>&1 &
tftpd_pid=$!
stop_at_exit $tftpd_pid

# --- Each PC: Xvfb and a Wine prefix whose wineserver runs in its namespace --------------------
start_xvfb 75 "$ns_a"
display_a=$display
make_wine_prefix "$ns_a" "$prefix_a" "$display_a"
install_stand_ins "$prefix_a" netsh.exe wmic.exe tftp.exe schtasks.exe
start_xvfb 76 "$ns_b"
display_b=$display
make_wine_prefix "$ns_b" "$prefix_b" "$display_b"
install_stand_ins "$prefix_b" netsh.exe wmic.exe tftp.exe schtasks.exe
kill -0 $tftpd_pid 2>/dev/null || fail "tftpd-hpa did not start"
use_pc() {  # use_pc a|b: wine and driver run on that PC
  case $1 in
    a) ns=$ns_a prefix=$prefix_a display=$display_a ;;
    b) ns=$ns_b prefix=$prefix_b display=$display_b ;;
  esac
}
wine() { wine_in "$ns" "$prefix" "$display" "$@"; }
driver() { wine "$WIN_BUILD/tolvik_driver.exe" "$@"; }

# The adapter's DHCP server, where /N looks for the list.
name_adapter() {  # name_adapter MAC_TEXT: its DHCP server and its connection name
  local guid
  guid=$(driver adapters | adapter_guid "$1")
  [ -n "$guid" ] || fail "Wine lists no adapter with MAC $1"
  wine reg add "$(tcpip_key "$guid")" /v EnableDHCP /t REG_DWORD /d 1 /f >/dev/null 2>&1 &&
    wine reg add "$(tcpip_key "$guid")" /v DHCPServer /t REG_SZ /d 192.0.2.1 /f >/dev/null 2>&1 &&
    wine reg add "$(connection_key "$guid")" /v Name /t REG_SZ /d LAN /f >/dev/null 2>&1 ||
    fail "cannot set up the adapter $1 in the registry"
}
make_pc() {  # make_pc NAME: a program directory with Tolvik; the stand-ins are in the system directory
  mkdir -p "$work/$1"
  cp "$WIN_BUILD/Tolvik.exe" "$work/$1/"
}
wait_for_file() {  # wait_for_file FILE SECONDS
  local deadline=$(($(date +%s) + $2))
  until [ -s "$1" ]; do
    [ "$(date +%s)" -lt "$deadline" ] || return 1
    sleep 1
  done
}
# expect_report MAC_TEXT LINE...: the report on the server holds each LINE (UTF-8 here).
expect_report() {
  local file=$work/srv/tolvik-$1.ini line
  shift
  [ -f "$file" ] || fail "no report tolvik-$1.ini on the server"
  for line; do
    tr -d '\r' <"$file" | iconv -f GBK -t UTF-8 | grep -qxF -- "$line" ||
      fail "the report of $file lacks [$line]: $(tr -d '\r' <"$file" | tr '\n' ' ')"
  done
}

# --- PC A: every step done; the window closes by itself ----------------------------------------
log "PC A: /A /N, every step done"
use_pc a
name_adapter "$mac_text_a"
make_pc pc-a
(cd "$work/pc-a" && WINE_TIMEOUT=150 wine "$work/pc-a/Tolvik.exe" /A /N >"$work/pc-a/tolvik.out" 2>&1)
rc=$?
[ $rc = 0 ] || fail "PC A: Tolvik /A /N did not end by itself (exit $rc)"
take_stand_in_records "$prefix" "$work/pc-a"
grep -aq 'JoinDomainOrWorkgroup Name="WORKGROUP"' "$work/pc-a/commands.log" ||
  fail "PC A: wmic did not run"
expect_report "$mac_text_a" "[report]" "mac=$mac_text_a" "name=PC-A" "ip=192.0.2.21" \
  "result=done" "[steps]" "address=0" "dns=skipped" "name=0" "membership=0" "icd=skipped"
grep -aqE '^time=20[0-9]{2}-[01][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]'$'\r''$' \
  "$work/srv/tolvik-$mac_text_a.ini" || fail "PC A: the report's time is not YYYY-MM-DD HH:MM:SS"

# --- PC B: the join is refused; the window stays and the next logon is asked for --------------
log "PC B: /A /N, wmic prints ReturnValue = 1326"
use_pc b
name_adapter "$mac_text_b"
make_pc pc-b
(cd "$work/pc-b" && WMIC_RETURN_VALUE=1326 WINE_TIMEOUT=150 \
  wine "$work/pc-b/Tolvik.exe" /A /N >"$work/pc-b/tolvik.out" 2>&1 &)
wait_for_file "$work/srv/tolvik-$mac_text_b.ini" 90 || fail "PC B: no report within 90 s"
driver wait-window 30000 info-out "$(winpath "$work/pc-b.info")" click 5 wait-gone 30000 ||
  fail "PC B: the window did not wait for the user"
iconv -f GBK -t UTF-8 "$work/pc-b.info" | grep -q '1326（用户名或密码不正确）' ||
  fail "PC B: the window does not name the refused join: $(iconv -f GBK -t UTF-8 "$work/pc-b.info")"
expect_report "$mac_text_b" "name=PC-B" "ip=192.0.2.22" "result=failed" "membership=1326"
# The next logon is a task (the schtasks stand-in keeps its definition); RunOnce stays empty.
runonce=$(wine reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\RunOnce' /v Tolvik $REG_VIEW 2>/dev/null |
  tr -d '\r' | sed -n 's/^ *Tolvik *REG_SZ *//p')
[ -z "$runonce" ] || fail "PC B: RunOnce was written again: [$runonce]"
want="<Command>$(winpath "$work/pc-b/Tolvik.exe")</Command><Arguments>/A /N</Arguments>"
iconv -f UTF-16 -t UTF-8 "$(stand_in_dir "$prefix")/task-Tolvik.xml" 2>/dev/null | grep -qF -- "$want" ||
  fail "PC B: no task for the next logon with $want"
[ -f "$work/pc-b/mac.ini" ] || fail "PC B: the list must stay after a failed step"

# --- The administrator: maclist status on the server's folder ------------------------------------
log "maclist status"
"$maclist" status "$work/srv/mac.ini" "$work/srv" --html "$work/status.html" >"$work/status.txt" 2>&1
rc=$?
cat "$work/status.txt"
[ $rc = 1 ] || fail "maclist status exit $rc, want 1 (not every machine done)"
grep -qE "^ +1  PC-A +192\.0\.2\.21 +$mac_text_a +done$" "$work/status.txt" || fail "PC A is not done"
grep -qE "^ +2  PC-B +192\.0\.2\.22 +$mac_text_b +failed: membership 1326 \(用户名或密码不正确\)$" \
  "$work/status.txt" || fail "PC B is not failed with its code"
grep -qE '^ +3  PC-C +192\.0\.2\.23 +0200C0000253 +no report$' "$work/status.txt" ||
  fail "PC C is not without report"
[ "$(tail -n 1 "$work/status.txt")" = "1 done, 1 failed, 1 no report" ] || fail "summary line"

# The page as a browser reads it: the rendered document names every machine with its state,
# and the screenshot is kept. Chromium runs in the PC's namespace, which reaches no other network.
chrome=(timeout 90 ip netns exec "$ns_a" "$chromium" --headless --no-sandbox --disable-gpu
  --disable-background-networking --disable-component-update --disable-sync --no-first-run
  --user-data-dir="$work/chrome")
"${chrome[@]}" --dump-dom "file://$work/status.html" >"$work/dom.html" 2>"$work/chrome.log" ||
  fail "chromium could not read the page: $(tail -n 3 "$work/chrome.log")"
# One line per table row: its class, then its cells, "|" between them.
tr -d '\n' <"$work/dom.html" | sed 's#<tr#\n<tr#g' |
  sed 's#</td><td>#|#g; s#^<tr class="\([a-z-]*\)"><td>#\1|#; s#<[^>]*>##g' >"$work/rows.txt"
# The page speaks Chinese: its title, the states and the summary.
for row in "done|1|PC-A|192.0.2.21|$mac_text_a|已完成|" \
  "failed|2|PC-B|192.0.2.22|$mac_text_b|未完成|membership 1326 (用户名或密码不正确)|" \
  "no-report|3|PC-C|192.0.2.23|0200C0000253|无回报|"; do
  grep -qF -- "$row" "$work/rows.txt" || fail "the page as Chromium reads it lacks the row [$row]"
done
grep -qF '<title>Tolvik 回报状态</title>' "$work/dom.html" || fail "the page lacks its title"
grep -qF '已完成 1 台，未完成 1 台，无回报 1 台' "$work/dom.html" || fail "the page lacks the summary"
rm -f "$artifacts/status.png"
"${chrome[@]}" --window-size=1150,360 --screenshot="$artifacts/status.png" \
  "file://$work/status.html" >>"$work/chrome.log" 2>&1
[ -s "$artifacts/status.png" ] || fail "no screenshot of the page: $(tail -n 3 "$work/chrome.log")"
cp "$work/status.html" "$artifacts/status.html"
log "page and screenshot in $artifacts"
pass
