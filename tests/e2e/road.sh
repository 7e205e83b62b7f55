#!/usr/bin/env bash
# The road of one batch under Wine: Brevane turns a TFTPD32 log, and the same machines' Windows
# DHCP Server export with hyphenated IDs, into the same mac.ini through its window (driven as a
# user would); the file is copied beside Tolvik on a simulated PC whose adapter has
# one of the log's MAC addresses; Tolvik /A reads it and applies that PC's entry. The commands it
# starts are recorded by the stand-in netsh and wmic in the system directory and compared byte
# for byte.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/e2e/lib/common.sh"

ns=brevane-road-$$
mac=00:e0:fd:3a:1b:01        # the fourth machine of the log
prefix=/tmp/tolvik-wine/brevane-road-$$

require_built Brevane.exe brevane_driver.exe Tolvik.exe tolvik_driver.exe netsh.exe wmic.exe

# --- The PC: a namespace with one adapter carrying the MAC, its display and its Wine ----------
make_pc_namespace "$ns" "$mac" 192.0.2.200/24 02:00:c0:00:02:99
start_xvfb 97 "$ns"
make_wine_prefix "$ns" "$prefix" "$display"
install_stand_ins "$prefix" netsh.exe wmic.exe
wine() { wine_in "$ns" "$prefix" "$display" "$@"; }

# --- The administrator: the log through Brevane's window into mac.ini --------------------------
mkdir -p "$work/admin" "$work/pc" "$work/data"
write_tftpd32_sample "$work/data/tftpd32.log"
cp "$(built Brevane.exe)" "$work/admin/Brevane.exe"
# The same machines in a Windows DHCP Server export whose unique IDs are hyphenated, as Windows
# Server 2008 and later write them.
printf '%s\r\n' 'Client IP Address	Name	Lease Expiration	Type	Unique ID	Description' \
  '192.168.0.1	PC-A	2026/12/15 14:03:27	DHCP	00-0b-29-4e-57-3a	' \
  '192.168.0.2	PC-B	2026/12/15 14:03:29	DHCP	00-0b-29-11-22-33	' \
  '192.168.0.3		2026/12/15 14:05:01	DHCP	00-e0-fd-3a-1b-02	' \
  '192.168.0.4		2026/12/15 14:05:02	DHCP	00-E0-FD-3A-1B-01	' >"$work/data/export.txt"
mkdir -p "$work/admin-export"
cp "$(built Brevane.exe)" "$work/admin-export/Brevane.exe"
WINE_TIMEOUT=300 wine "$(built brevane_driver.exe)" "$(winpath "$work/admin/Brevane.exe")" road \
  --tftpd-log "$(winpath "$work/data/tftpd32.log")" >"$work/brevane.log" 2>&1
rc=$?
show_output brevane "$work/brevane.log"
[ $rc = 0 ] || fail "the Brevane driver's checks failed"

printf '%s\r\n' '[Config]' 'Gateway=192.0.2.1' 'Gwmetric=0' 'Mask=255.255.255.0' \
  'DNS1=192.0.2.53' 'DNS2=' 'WorkGroup=WORKGROUP' '[list]' \
  '000B294E573A=192.0.2.11,COMPUTER001' '000B29112233=192.0.2.12,COMPUTER002' \
  '00E0FD3A1B02=192.0.2.13,COMPUTER003' '00E0FD3A1B01=192.0.2.14,COMPUTER004' >"$work/expected-mac.ini"
[ -f "$work/admin/mac.ini" ] || fail "Brevane wrote no mac.ini"
expect_same_bytes "$work/admin/mac.ini" "$work/expected-mac.ini" \
  "Brevane's mac.ini differs from the expected bytes"
echo "-- Brevane saved mac.ini as expected"

# The hyphenated export through Brevane's window, Windows DHCP Server chosen: the same list. That
# file is the one the PC receives.
WINE_TIMEOUT=300 wine "$(built brevane_driver.exe)" "$(winpath "$work/admin-export/Brevane.exe")" import \
  --log "$(winpath "$work/data/export.txt")" --format windows --rows '001|||000B294E573A;002|||000B29112233;003|||00E0FD3A1B02;004|||00E0FD3A1B01;' \
  --field 1037=192.0.2.11 --field 1039=192.0.2.1 --field 1041=192.0.2.53 --field 1019=WORKGROUP \
  >"$work/brevane-export.log" 2>&1
rc=$?
show_output "brevane export" "$work/brevane-export.log"
[ $rc = 0 ] || fail "the Brevane driver's checks of the hyphenated export failed"
expect_same_bytes "$work/admin-export/mac.ini" "$work/expected-mac.ini" \
  "the mac.ini saved from the hyphenated export differs from the expected bytes"
echo "-- Brevane saved the same mac.ini from the hyphenated Windows DHCP Server export"

# --- The PC: Tolvik with the list beside it applies its entry ------------------------------------
cp "$(built Tolvik.exe)" "$work/pc/"
cp "$work/admin-export/mac.ini" "$work/pc/mac.ini"
mac_text=$(echo "$mac" | tr -d ':' | tr 'a-f' 'A-F')
guid=$(wine "$(built tolvik_driver.exe)" adapters | adapter_guid "$mac_text")
[ -n "$guid" ] || fail "Wine lists no adapter with MAC $mac_text"
wine reg add "$(connection_key "$guid")" /v Name /t REG_SZ /d "本地连接" /f >/dev/null 2>&1 ||
  fail "cannot name the connection"

(cd "$work/pc" && WINE_TIMEOUT=180 wine "$work/pc/Tolvik.exe" /A >"$work/tolvik.log" 2>&1)
rc=$?
[ $rc = 0 ] || fail "Tolvik /A did not end by itself (exit $rc)"
take_stand_in_records "$prefix" "$work/pc"
[ -f "$work/pc/commands.log" ] || fail "Tolvik started neither netsh nor wmic"

# netsh for the address with gateway and metric, the DNS servers, then wmic for the workgroup
# under the name Windows runs with now.
printf '%s\n' 'netsh  interface ip set address 本地连接 static 192.0.2.14 255.255.255.0 192.0.2.1 0' \
  'netsh  interface ip set dns 本地连接 static none' 'netsh  interface ip add dns 本地连接 192.0.2.53' |
  gbk >"$work/expected-netsh"
head -n 3 "$work/pc/commands.log" >"$work/netsh-lines"
expect_same_bytes "$work/netsh-lines" "$work/expected-netsh" "the netsh command lines differ"
lines=$(wc -l <"$work/pc/commands.log")
[ "$lines" = 4 ] || fail "expected 4 commands, recorded $lines"
tail -n 1 "$work/pc/commands.log" |
  grep -aqE '^wmic  computersystem where Name="[^"]+" call JoinDomainOrWorkgroup Name="WORKGROUP"$' ||
  fail "the wmic command line differs: $(tail -n 1 "$work/pc/commands.log")"
[ -f "$work/pc/mac.ini" ] || fail "without /K the list must stay"
echo "-- Tolvik applied the entry of $mac_text:"
iconv -f GBK -t UTF-8 "$work/pc/commands.log" | sed 's/^/   /'
pass
