#!/usr/bin/env bash
# Real DHCP servers from Debian (dnsmasq, ISC dhcpd, Kea) hand out leases in a test network of
# namespaces: a server namespace with a bridge, one namespace per PC with its own MAC, and
# dhclient in each. The PCs take their first leases in a known order, with renewals, a release
# and a server restart in between; what each server wrote is kept. maclist generate must give
# the known order from every server's log, and from every lease file the known order or the
# warning that the file cannot tell it. One log also goes through Brevane.exe under Wine, and
# the mac.ini it saves is compared byte for byte.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/e2e/lib/common.sh"
native=${NATIVE_BUILD:-$root/build/native}

for program in dnsmasq dhcpd kea-dhcp4 kea-lfc dhclient; do
  command -v "$program" >/dev/null || fail "$program is not installed (scripts/install-deps.sh)"
done
maclist=$(find "$native" -maxdepth 4 -type f -name maclist | head -n 1)
[ -x "$maclist" ] || fail "the native maclist is not built in $native"
require_built Brevane.exe brevane_driver.exe

# --- The test network: 10.77.0.0/24 between these namespaces only ------------------------------
server_ns=dhcp-srv-$$
make_namespace "$server_ns"
ip -n "$server_ns" link add br0 type bridge || fail "cannot add the bridge"
ip -n "$server_ns" addr add 10.77.0.1/24 dev br0
ip -n "$server_ns" link set br0 up

# The PCs in the order they are first switched on; their MACs are in no sorted order, so an
# order by MAC or by address cannot pass for the order of first lease.
pc_macs=(02:00:0a:4d:00:33 02:00:0a:4d:00:11 02:00:0a:4d:00:44 02:00:0a:4d:00:22)
pc_ns=()
for i in 0 1 2 3; do
  ns=dhcp-pc$i-$$
  make_namespace "$ns"
  add_adapter "$ns" eth0 "${pc_macs[$i]}" "" "$server_ns" "pc$i"
  ip -n "$server_ns" link set "pc$i" master br0
  pc_ns+=("$ns")
done
known_order=$(printf '%s\n' "${pc_macs[@]}" | tr -d ':' | tr a-f A-F)

# dhclient's script gives the PC the leased address (so that a renewal reaches the server) and
# nothing else: no resolver or route of the host is touched.
cat >"$work/dhclient-script" <<'EOF'
#!/bin/sh
case "$reason" in
  BOUND|RENEW|REBIND|REBOOT) ip addr flush dev "$interface"; ip addr add "$new_ip_address/24" dev "$interface" ;;
  EXPIRE|FAIL|RELEASE|STOP) ip addr flush dev "$interface" ;;
esac
exit 0
EOF
chmod +x "$work/dhclient-script"
for i in 0 1 2 3; do printf 'send host-name "pc%d";\n' "$i" >"$work/dhclient-$i.conf"; done

# forget_pid PID: a process this script has stopped and reaped is no longer stopped at exit, so
# that a later process given the same id is left alone.
forget_pid() {
  local kept=() pid
  for pid in "${e2e_pids[@]}"; do [ "$pid" = "$1" ] || kept+=("$pid"); done
  e2e_pids=("${kept[@]}")
}

# take_lease I: PC I asks for a lease (or, with its lease file from before, for the same address
# again, which the server grants as a renewal) and gives up its client once bound.
take_lease() {
  local i=$1 out=$work/dhclient-$1.out pid
  : >"$out"
  ip netns exec "${pc_ns[$i]}" dhclient -d -1 -v -cf "$work/dhclient-$i.conf" -sf "$work/dhclient-script" \
    -lf "$work/dhclient-$i.leases" -pf "$work/dhclient-$i.pid" eth0 >"$out" 2>&1 &
  pid=$!
  stop_at_exit "$pid"
  for _ in $(seq 200); do
    grep -q '^bound to' "$out" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  forget_pid "$pid"
  grep -q '^bound to' "$out" || { cat "$out"; fail "$server: PC $i got no lease"; }
  log "$server: PC $i ${2:-leased} $(grep -o '^bound to [0-9.]*' "$out" | cut -d' ' -f3)"
}

# release_lease I: PC I gives its lease back (dhclient -r, with a pid file of its own, so that
# it stops no other process).
release_lease() {
  ip netns exec "${pc_ns[$1]}" timeout 20 dhclient -r -v -cf "$work/dhclient-$1.conf" \
    -sf "$work/dhclient-script" -lf "$work/dhclient-$1.leases" -pf "$work/release-$1.pid" eth0 \
    >"$work/release-$1.out" 2>&1 || { cat "$work/release-$1.out"; fail "$server: PC $1 did not release"; }
  log "$server: PC $1 released its lease"
}

# --- Each server: start, the PCs in order, restart, stop ---------------------------------------
server_pid=
start_server() {
  case "$server" in
    dnsmasq)
      ip netns exec "$server_ns" dnsmasq --keep-in-foreground --conf-file=/dev/null --port=0 \
        --user=root --interface=br0 --bind-interfaces --dhcp-range=10.77.0.100,10.77.0.150,2m \
        --dhcp-authoritative --no-ping --log-dhcp --log-facility="$dir/dnsmasq.log" \
        --dhcp-leasefile="$dir/dnsmasq.leases" --pid-file="$dir/dnsmasq.pid" \
        >>"$dir/server.out" 2>&1 &
      ;;
    isc)
      # With -d dhcpd logs to its standard error, which is kept as its log.
      ip netns exec "$server_ns" dhcpd -4 -f -d -cf "$dir/dhcpd.conf" -lf "$dir/dhcpd.leases" \
        -pf "$dir/dhcpd.pid" br0 >>"$dir/server.out" 2>>"$dir/dhcpd.log" &
      ;;
    kea)
      ip netns exec "$server_ns" env KEA_PIDFILE_DIR="$dir" KEA_LOCKFILE_DIR="$dir" \
        kea-dhcp4 -c "$dir/kea-dhcp4.conf" >>"$dir/server.out" 2>&1 &
      ;;
  esac
  server_pid=$!
  stop_at_exit "$server_pid"
  sleep 1
  kill -0 "$server_pid" 2>/dev/null || { cat "$dir/server.out"; fail "$server did not start"; }
}
stop_server() {
  kill "$server_pid" 2>/dev/null
  for _ in $(seq 100); do kill -0 "$server_pid" 2>/dev/null || break; sleep 0.1; done
  ! kill -0 "$server_pid" 2>/dev/null || kill -KILL "$server_pid"  # it outlived 10 s of SIGTERM
  wait "$server_pid" 2>/dev/null
  forget_pid "$server_pid"
}

configure_server() {
  case "$server" in
    isc)
      cat >"$dir/dhcpd.conf" <<'EOF'
authoritative;
ping-check false;
default-lease-time 120;
max-lease-time 120;
subnet 10.77.0.0 netmask 255.255.255.0 {
  range 10.77.0.100 10.77.0.150;
}
EOF
      : >"$dir/dhcpd.leases"
      ;;
    kea)
      cat >"$dir/kea-dhcp4.conf" <<EOF
{ "Dhcp4": {
  "interfaces-config": { "interfaces": [ "br0" ] },
  "lease-database": { "type": "memfile", "persist": true, "name": "$dir/leases4.csv",
                      "lfc-interval": 2 },
  "valid-lifetime": 120,
  "subnet4": [ { "id": 1, "subnet": "10.77.0.0/24",
                 "pools": [ { "pool": "10.77.0.100 - 10.77.0.150" } ] } ],
  "loggers": [ { "name": "kea-dhcp4", "severity": "INFO",
                 "output_options": [ { "output": "$dir/kea-dhcp4.log" } ] } ]
} }
EOF
      ;;
  esac
}

# Each step a second after the one before, so that the servers' times tell the steps apart.
step() { sleep 1; "$@"; }

for server in dnsmasq isc kea; do
  dir=$work/$server
  mkdir -p "$dir"
  rm -f "$work"/dhclient-*.leases
  configure_server
  start_server
  take_lease 0
  step take_lease 1
  step take_lease 0 renewed
  step take_lease 2
  [ "$server" = kea ] && sleep 3  # Kea's lease file cleanup runs every 2 seconds
  stop_server
  log "$server restarted"
  start_server
  step take_lease 1 renewed
  step release_lease 0
  step take_lease 3
  step take_lease 2 renewed
  stop_server  # Kea's last rows may still be in leases4.csv, the older ones in leases4.csv.2
done
[ -z "${E2E_KEEP:-}" ] || { mkdir -p "$E2E_KEEP" && cp -r "$work"/dnsmasq "$work"/isc "$work"/kea "$E2E_KEEP"/; }

# --- maclist: the order from every log, the order or the warning from every lease file ---------
# macs_of FILE: the MAC texts of the [list] lines of a generated mac.ini, in order.
macs_of() { tr -d '\r' <"$1" | sed -n '/^\[list\]$/,$p' | sed -n 's/^\([0-9A-F]\{12\}\)=.*/\1/p'; }

# generate NAME FILE... [-- OPTIONS...]: maclist generate into $work/NAME.ini, errors kept.
generate() {
  local name=$1 files=()
  shift
  while [ $# -gt 0 ] && [ "$1" != -- ]; do files+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  "$maclist" generate "${files[@]}" "$@" -o "$work/$name.ini" 2>"$work/$name.err" ||
    { cat "$work/$name.err"; fail "maclist generate $name failed"; }
}

declare -A log_file=([dnsmasq]=dnsmasq/dnsmasq.log [isc]=isc/dhcpd.log [kea]=kea/kea-dhcp4.log)
for server in dnsmasq isc kea; do
  for format in "$server-log" auto; do
    generate "$server-log-$format" "$work/${log_file[$server]}" -- --format "$format"
    got=$(macs_of "$work/$server-log-$format.ini")
    [ "$got" = "$known_order" ] ||
      fail "$server's log read as $format gives the order $(echo $got), not $(echo $known_order)"
    ! grep -q 'lease-order' "$work/$server-log-$format.err" || fail "$server's log: a lease file's warning"
  done
  log "$server's log gives the order of first lease"
done

# The lease files: Kea's older files first, as its cleanup left them.
lease_files() {
  case "$1" in
    dnsmasq) echo "$work/dnsmasq/dnsmasq.leases" ;;
    isc) echo "$work/isc/dhcpd.leases" ;;
    kea) for f in "$work"/kea/leases4.csv.2 "$work"/kea/leases4.csv.1 "$work"/kea/leases4.csv; do
           [ -f "$f" ] && echo "$f"
         done ;;
  esac
}
for server in dnsmasq isc kea; do
  mapfile -t files < <(lease_files "$server")
  generate "$server-leases" "${files[@]}"
  got=$(macs_of "$work/$server-leases.ini")
  [ -n "$got" ] || fail "$server's lease file gives no machine"
  # Only the batch's machines, each once.
  for mac in $got; do grep -qx "$mac" <<<"$known_order" || fail "$server's lease file gives $mac, no PC"; done
  [ "$(sort <<<"$got" | uniq -d)" = "" ] || fail "$server's lease file gives a machine twice"
  if [ "$got" = "$known_order" ]; then
    log "$server's lease file gives the order of first lease"
  elif grep -q '\[lease-order\]$' "$work/$server-leases.err"; then
    log "$server's lease file gives $(echo $got), with the warning: $(grep -o '[^:]*\[lease-order\]$' "$work/$server-leases.err")"
  else
    cat "$work/$server-leases.err"
    fail "$server's lease file gives the order $(echo $got) without a warning"
  fi
done
# ISC dhcpd keeps a released lease as "binding state free": the machine stays in the list.
[ "$(macs_of "$work/isc-leases.ini" | sort)" = "$(sort <<<"$known_order")" ] ||
  fail "a machine of dhcpd.leases is missing: $(macs_of "$work/isc-leases.ini" | tr '\n' ' ')"

# --- Brevane.exe: dnsmasq's log through the open-file dialog --------------------------------------
prefix=/tmp/tolvik-wine/dhcp-servers-e2e-$$
start_xvfb 97
make_wine_prefix "" "$prefix" "$display"
mkdir -p "$work/brevane"
cp "$(built Brevane.exe)" "$work/brevane/Brevane.exe"
rows=
n=0
{
  printf '%s\r\n' '[Config]' 'Gateway=' 'Gwmetric=0' 'Mask=255.255.255.0' 'DNS1=' 'DNS2=' 'WorkGroup=LAB' '[list]'
  for mac in $known_order; do
    n=$((n + 1))
    rows+=$(printf '%03d|||%s;' "$n" "$mac")
    printf '%s=192.168.0.%d,COMPUTER%03d\r\n' "$mac" "$n" "$n"
  done
} >"$work/expected-mac.ini"
WINE_TIMEOUT=300 wine_in "" "$prefix" "$display" "$(built brevane_driver.exe)" \
  "$(winpath "$work/brevane/Brevane.exe")" import --log "$(winpath "$work/${log_file[dnsmasq]}")" \
  --format tftpd32 --rows "$rows" --field 1019=LAB >"$work/driver.log" 2>&1
driver_rc=$?
show_output brevane "$work/driver.log"
[ $driver_rc = 0 ] || fail "the driver's checks of the import of dnsmasq's log failed"
[ -f "$work/brevane/mac.ini" ] || fail "Brevane saved no mac.ini"
expect_same_bytes "$work/brevane/mac.ini" "$work/expected-mac.ini" \
  "the mac.ini Brevane saved from dnsmasq's log differs from the expected bytes"
pass
