#!/usr/bin/env bash
# Adapter discovery and entry lookup on real adapters under Wine: three veth adapters with chosen
# MAC addresses in a network namespace of their own, registry values written with `wine reg add`,
# and the headless Tolvik runner with mac.ini beside it. Checks the adapters, MAC texts,
# connection names and DHCP servers Tolvik discovers and the information text it shows.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/e2e/lib/common.sh"

ns=tolvik-disc-$$        # the PC: its adapters and the Wine prefix's wineserver live here
peer_ns=tolvik-discp-$$  # the other ends of the veth pairs
prefix=/tmp/tolvik-wine/e2e-discovery-$$

require_built tolvik_headless.exe schtasks.exe

# --- the PC's network: three veth adapters with chosen MAC addresses ------------------------------
make_namespace "$ns"
make_namespace "$peer_ns"
add_adapter "$ns" tv0 00:e0:fd:3a:1b:01 192.0.2.10/24 "$peer_ns" tp0
add_adapter "$ns" tv1 00:e0:fd:3a:1b:02 198.51.100.10/24 "$peer_ns" tp1
add_adapter "$ns" tv2 00:1e:90:ab:7d:ef 192.0.2.20/24 "$peer_ns" tp2

# --- a fresh Wine prefix whose wineserver and services run inside the namespace ------------------
make_wine_prefix "$ns" "$prefix" ""
# An unattended run that finds no entry asks Task Scheduler for the next logon, as on Windows.
install_stand_ins "$prefix" schtasks.exe
in_pc() { wine_in "$ns" "$prefix" "" "$@"; }
in_pc cmd /c exit 0 >/dev/null 2>&1 || fail "cannot start Wine in the namespace"
cp "$(built tolvik_headless.exe)" "$work/tolvik_headless.exe"
prog=$work/tolvik_headless.exe

# --- first probe: which adapter names does Wine report for which MAC? ----------------------------
in_pc "$prog" --probe >"$work/probe1.txt" 2>"$work/probe1.err" ||
  fail "probe failed: $(tail -n 3 "$work/probe1.err")"
tr -d '\r' <"$work/probe1.txt" >"$work/probe1"
echo "probe before the registry values:"; cat "$work/probe1"
adapters=$(grep -c '^adapter ' "$work/probe1")
[ "$adapters" = 3 ] || fail "expected exactly the 3 veth adapters, found $adapters (loopback is not listed by Wine's GetAdaptersInfo)"
name_of() { awk -v mac="$1" '$1 == "adapter" && $3 == mac { print $2 }' "$work/probe1"; }
a1=$(name_of 00E0FD3A1B01); a2=$(name_of 00E0FD3A1B02); a3=$(name_of 001E90AB7DEF)
[ -n "$a1" ] && [ -n "$a2" ] && [ -n "$a3" ] || fail "a MAC text is missing from the probe"
grep -q '^dhcp-server ' "$work/probe1" && fail "a fresh prefix already reports a DHCP server"
[ "$(grep -c '^connection [^ ]* $' "$work/probe1")" = 3 ] || fail "a fresh prefix already has connection names"

# --- registry values, with `wine reg add` ----------------------------------------------------------
reg_add() { in_pc reg add "$@" /f >>"$work/reg.log" 2>&1 || fail "reg add $*"; }
# Adapter 1: DHCP as a REG_DWORD 1 with a server: its server counts. Chinese connection name.
reg_add "$(tcpip_key "$a1")" /v EnableDHCP /t REG_DWORD /d 1
reg_add "$(tcpip_key "$a1")" /v DHCPServer /t REG_SZ /d 192.0.2.1
reg_add "$(connection_key "$a1")" /v Name /t REG_SZ /d 本地连接
# Adapter 2: EnableDHCP stored as a string "1": not DHCP, its server does not count.
reg_add "$(tcpip_key "$a2")" /v EnableDHCP /t REG_SZ /d 1
reg_add "$(tcpip_key "$a2")" /v DHCPServer /t REG_SZ /d 198.51.100.1
reg_add "$(connection_key "$a2")" /v Name /t REG_SZ /d "Local Area Connection 2"
# Adapter 3: DHCP with a server, but its connection name is not a REG_SZ: the name reads empty.
reg_add "$(tcpip_key "$a3")" /v EnableDHCP /t REG_DWORD /d 1
reg_add "$(tcpip_key "$a3")" /v DHCPServer /t REG_SZ /d 198.51.100.2
reg_add "$(connection_key "$a3")" /v Name /t REG_EXPAND_SZ /d "Wireless"

# --- a run of the headless Tolvik: mac.ini beside it, info text and state written to files --------
# run_tolvik <label> [switches...]
run_tolvik() {
  local label=$1; shift
  in_pc "$prog" --info-out "$(winpath "$work/$label.info")" \
    --state-out "$(winpath "$work/$label.state")" "$@" >"$work/$label.out" 2>"$work/$label.err" ||
    fail "run $label failed: $(tail -n 3 "$work/$label.err")"
  [ -f "$work/$label.info" ] && [ -f "$work/$label.state" ] || fail "run $label wrote no result files"
}
expect_info() {  # expect_info <label> <expected bytes file>
  expect_same_bytes "$work/$1.info" "$2" "run $1: information text differs"
}
state_value() { grep -a "^$2=" "$work/$1.state" | head -n 1 | cut -d= -f2-; }

config_lines=(
  "[Config]" "Gateway=192.168.0.254" "Gwmetric=0" "Mask=255.255.255.0" "DNS1=DHCP" "DNS2="
  "WorkGroup=WORKGROUP"
)

# Run A: the list of the two-machine sample names two of this PC's adapters: the later line decides.
crlf "${config_lines[@]}" "[list]" "00E0FD3A1B01=192.168.0.1,COMPUTER001" \
  "00E0FD3A1B02=192.168.0.2,COMPUTER002" >"$work/mac.ini"
run_tolvik A
# Discovery, from the state record: three adapters, each MAC with its own connection name.
grep -a -E '^(ConnectionNames|AdapterMacs|DhcpServers)\[' "$work/A.state" >"$work/A.lists"
pairs=$(for i in 0 1 2; do
  echo "$(state_value A "AdapterMacs\[$i\]")|$(state_value A "ConnectionNames\[$i\]" | iconv -f GBK -t UTF-8)"
done | sort)
expected_pairs=$(printf '%s\n' "001E90AB7DEF|" "00E0FD3A1B01|本地连接" \
  "00E0FD3A1B02|Local Area Connection 2" | sort)
[ "$pairs" = "$expected_pairs" ] || { cat "$work/A.lists"; fail "adapters and connection names differ"; }
[ "$(grep -c '^AdapterMacs\[' "$work/A.lists")" = 3 ] || fail "not exactly three adapters"
# DHCP servers: only the REG_DWORD-enabled adapters, in adapter order.
expected_servers=$(for mac in $(grep '^adapter ' "$work/probe1" | awk '{print $3}'); do
  case $mac in 00E0FD3A1B01) echo 192.0.2.1 ;; 001E90AB7DEF) echo 198.51.100.2 ;; esac
done)
servers=$(grep -a '^DhcpServers\[' "$work/A.state" | cut -d= -f2-)
[ "$servers" = "$expected_servers" ] || fail "DHCP servers are [$servers], expected [$expected_servers]"
[ "$(state_value A TargetConnection)" = "Local Area Connection 2" ] || fail "run A: wrong target adapter"
[ "$(state_value A EntryIp)" = 192.168.0.2 ] || fail "run A: wrong entry"
printf '计算机名将改为: COMPUTER002\r\n工作组将改名为: WORKGROUP\r\n\r\n“Local Area Connection 2”所在网卡的配置将改为: \r\n      IP: 192.168.0.2\r\n子网掩码: 255.255.255.0\r\n默认网关: 192.168.0.254\r\n  跃点数: 自动\r\n     DNS: DHCP 自动指派\r\n' | gbk >"$work/A.expected"
expect_info A "$work/A.expected"
grep -q '^waiting: the window stays open' "$work/A.out" || fail "run A: the window did not stay open"

# Run B: only this PC's first adapter is listed, with a lower-case key: the sample summary.
crlf "${config_lines[@]}" "[list]" "00e0fd3a1b01=192.168.0.1,COMPUTER001" \
  "00E0FD3A1B09=192.168.0.9,COMPUTER009" >"$work/mac.ini"
run_tolvik B
printf '计算机名将改为: COMPUTER001\r\n工作组将改名为: WORKGROUP\r\n\r\n“本地连接”所在网卡的配置将改为: \r\n      IP: 192.168.0.1\r\n子网掩码: 255.255.255.0\r\n默认网关: 192.168.0.254\r\n  跃点数: 自动\r\n     DNS: DHCP 自动指派\r\n' | gbk >"$work/B.expected"
expect_info B "$work/B.expected"

# Run C: a MAC only in a value, and one written with separators: no entry for this PC.
crlf "[list]" "AAAAAAAAAAAA=00E0FD3A1B02" "00-1E-90-AB-7D-EF=10.0.0.1,PC1" >"$work/mac.ini"
run_tolvik C /A
printf '未找到对应网卡！' | gbk >"$work/C.expected"
expect_info C "$work/C.expected"
[ "$(state_value C Applied)" = 0 ] || fail "run C applied without an entry"

# Run D: no mac.ini beside the program.
rm -f "$work/mac.ini"
run_tolvik D
printf '未找到配置文件: MAC.INI\r\n请使用 /N 或 /IP 参数从网络获取配置文件' | gbk >"$work/D.expected"
expect_info D "$work/D.expected"

# Run E: the help switch hides the window, shows the help text and the posted close is handled.
run_tolvik E /?
tr -d '\r' <"$work/E.out" | grep -q '^window: ShowHelpBox .*\\xA1\\xA1' || fail "run E: no help box"
tr -d '\r' <"$work/E.out" | grep -q '^close: FinishOnClose' || fail "run E: the close was not handled"
tr -d '\r' <"$work/E.out" | grep -q '^visible: 0' || fail "run E: the window is still visible"

pass
