#!/usr/bin/env bash
# Adapter discovery and entry lookup on real adapters under Wine: three veth adapters with chosen
# MAC addresses in a network namespace of their own, registry values written with `wine reg add`,
# and the headless Tolvik runner with mac.ini beside it. Checks the adapters, MAC texts,
# connection names and DHCP servers Tolvik discovers and the information text it shows.
set -uo pipefail
name=discovery
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/e2e/lib/wine_arch.sh"
build=$WIN_BUILD
exe=$build/tolvik_headless.exe

ns=tolvik-disc-$$        # the PC: its adapters and the Wine prefix's wineserver live here
peer_ns=tolvik-discp-$$  # the other ends of the veth pairs
export TOLVIK_WINEPREFIX=/tmp/tolvik-wine/e2e-discovery-$$
work=$(mktemp -d /tmp/tolvik-discovery.XXXXXX)

cleanup() {
  WINEPREFIX=$TOLVIK_WINEPREFIX "$WINESERVER_BIN" -k >/dev/null 2>&1
  WINEPREFIX=$TOLVIK_WINEPREFIX "$WINESERVER_BIN" -w >/dev/null 2>&1
  ip netns del "$ns" >/dev/null 2>&1
  ip netns del "$peer_ns" >/dev/null 2>&1
  rm -rf "$TOLVIK_WINEPREFIX" "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL $name: $*"
  exit 1
}

[ -f "$exe" ] || fail "missing $exe"

# Runs wine64 with the given arguments inside the PC's namespace, in the project's Wine setting;
# the first call creates the prefix there, so its wineserver and services see only this network.
in_pc() {
  ip netns exec "$ns" bash -c 'source "$0"/tests/wine/wine-env.sh && ensure_wine_prefix && exec "$WINE64" "$@"' \
    "$root" "$@" </dev/null
}

# The Windows path of a file under /tmp (Wine's Z: drive), with "\" only.
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

# GBK bytes of a UTF-8 text given with printf escapes.
gbk() { printf "$1" | iconv -f UTF-8 -t GBK; }

# --- the PC's network: three veth adapters with chosen MAC addresses ------------------------------
ip netns add "$ns" || fail "cannot create namespace $ns"
ip netns add "$peer_ns" || fail "cannot create namespace $peer_ns"
ip -n "$ns" link set lo up
i=0
for mac in 00:e0:fd:3a:1b:01 00:e0:fd:3a:1b:02 00:1e:90:ab:7d:ef; do
  ip -n "$peer_ns" link add tv$i address "$mac" type veth peer name tp$i || fail "cannot add veth tv$i"
  ip -n "$peer_ns" link set tv$i netns "$ns" || fail "cannot move tv$i"
  ip -n "$peer_ns" link set tp$i up
  ip -n "$ns" link set tv$i up
  i=$((i + 1))
done
ip -n "$ns" addr add 192.0.2.10/24 dev tv0
ip -n "$ns" addr add 198.51.100.10/24 dev tv1
ip -n "$ns" addr add 192.0.2.20/24 dev tv2

# --- a fresh Wine prefix whose wineserver and services run inside the namespace ------------------
in_pc cmd /c exit 0 >/dev/null 2>&1 || fail "cannot start Wine in the namespace"
cp "$exe" "$work/tolvik_headless.exe"
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
tcpip() { echo "HKLM\\SYSTEM\\CurrentControlSet\\Services\\$1\\Parameters\\Tcpip"; }
connection() {
  echo "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Network\\{4d36e972-e325-11ce-bfc1-08002be10318}\\$1\\Connection"
}
reg_add() { in_pc reg add "$@" /f >>"$work/reg.log" 2>&1 || fail "reg add $*"; }
# Adapter 1: DHCP as a REG_DWORD 1 with a server: its server counts. Chinese connection name.
reg_add "$(tcpip "$a1")" /v EnableDHCP /t REG_DWORD /d 1
reg_add "$(tcpip "$a1")" /v DHCPServer /t REG_SZ /d 192.0.2.1
reg_add "$(connection "$a1")" /v Name /t REG_SZ /d 本地连接
# Adapter 2: EnableDHCP stored as a string "1": not DHCP, its server does not count.
reg_add "$(tcpip "$a2")" /v EnableDHCP /t REG_SZ /d 1
reg_add "$(tcpip "$a2")" /v DHCPServer /t REG_SZ /d 198.51.100.1
reg_add "$(connection "$a2")" /v Name /t REG_SZ /d "Local Area Connection 2"
# Adapter 3: DHCP with a server, but its connection name is not a REG_SZ: the name reads empty.
reg_add "$(tcpip "$a3")" /v EnableDHCP /t REG_DWORD /d 1
reg_add "$(tcpip "$a3")" /v DHCPServer /t REG_SZ /d 198.51.100.2
reg_add "$(connection "$a3")" /v Name /t REG_EXPAND_SZ /d "Wireless"

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
  cmp -s "$work/$1.info" "$2" || {
    echo "info text of run $1:"; od -An -tx1 "$work/$1.info" | head -n 20
    echo "expected:"; od -An -tx1 "$2" | head -n 20
    fail "run $1: information text differs"
  }
}
state_value() { grep -a "^$2=" "$work/$1.state" | head -n 1 | cut -d= -f2-; }

crlf() { printf '%s\r\n' "$@"; }
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
gbk '计算机名将改为: COMPUTER002\r\n工作组将改名为: WORKGROUP\r\n\r\n“Local Area Connection 2”所在网卡的配置将改为: \r\n      IP: 192.168.0.2\r\n子网掩码: 255.255.255.0\r\n默认网关: 192.168.0.254\r\n  跃点数: 自动\r\n     DNS: DHCP 自动指派\r\n' >"$work/A.expected"
expect_info A "$work/A.expected"
grep -q '^waiting: the window stays open' "$work/A.out" || fail "run A: the window did not stay open"

# Run B: only this PC's first adapter is listed, with a lower-case key: the sample summary.
crlf "${config_lines[@]}" "[list]" "00e0fd3a1b01=192.168.0.1,COMPUTER001" \
  "00E0FD3A1B09=192.168.0.9,COMPUTER009" >"$work/mac.ini"
run_tolvik B
gbk '计算机名将改为: COMPUTER001\r\n工作组将改名为: WORKGROUP\r\n\r\n“本地连接”所在网卡的配置将改为: \r\n      IP: 192.168.0.1\r\n子网掩码: 255.255.255.0\r\n默认网关: 192.168.0.254\r\n  跃点数: 自动\r\n     DNS: DHCP 自动指派\r\n' >"$work/B.expected"
expect_info B "$work/B.expected"

# Run C: a MAC only in a value, and one written with separators: no entry for this PC.
crlf "[list]" "AAAAAAAAAAAA=00E0FD3A1B02" "00-1E-90-AB-7D-EF=10.0.0.1,PC1" >"$work/mac.ini"
run_tolvik C /A
gbk '未找到对应网卡！' >"$work/C.expected"
expect_info C "$work/C.expected"
[ "$(state_value C Applied)" = 0 ] || fail "run C applied without an entry"

# Run D: no mac.ini beside the program.
rm -f "$work/mac.ini"
run_tolvik D
gbk '未找到配置文件: MAC.INI\r\n请使用 /N 或 /IP 参数从网络获取配置文件' >"$work/D.expected"
expect_info D "$work/D.expected"

# Run E: the help switch hides the window, shows the help text and the posted close is handled.
run_tolvik E /?
tr -d '\r' <"$work/E.out" | grep -q '^window: ShowHelpBox .*\\xA1\\xA1' || fail "run E: no help box"
tr -d '\r' <"$work/E.out" | grep -q '^close: FinishOnClose' || fail "run E: the close was not handled"
tr -d '\r' <"$work/E.out" | grep -q '^visible: 0' || fail "run E: the window is still visible"

echo "PASS $name"
