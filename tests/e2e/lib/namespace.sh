# Sourced by lib/common.sh: network namespaces that stand for PCs and servers, each with its
# own adapters, deleted at exit.

# in_ns NS COMMAND...: COMMAND inside namespace NS, or here if NS is empty.
in_ns() {
  local ns=$1
  shift
  if [ -n "$ns" ]; then ip netns exec "$ns" "$@"; else "$@"; fi
}

# make_namespace NS: a network namespace with its loopback up.
make_namespace() {
  ip netns add "$1" || fail "cannot create network namespace $1"
  e2e_namespaces+=("$1")
  ip -n "$1" link set lo up
}

# add_adapter NS IF MAC ADDR PEER_NS PEER_IF [PEER_MAC]: a veth pair whose end IF, carrying MAC
# and ADDR (as 192.0.2.10/24; empty for none), is an adapter of NS, and whose other end PEER_IF
# (with PEER_MAC if given) stays in PEER_NS, which may be NS itself. Both ends are up.
add_adapter() {
  local ns=$1 if=$2 mac=$3 addr=$4 peer_ns=$5 peer_if=$6 peer_mac=${7:-}
  local peer=(name "$peer_if")
  [ -n "$peer_mac" ] && peer+=(address "$peer_mac")
  ip -n "$peer_ns" link add "$if" address "$mac" type veth peer "${peer[@]}" ||
    fail "cannot add the veth pair $if"
  if [ "$peer_ns" != "$ns" ]; then
    ip -n "$peer_ns" link set "$if" netns "$ns" || fail "cannot move $if into $ns"
  fi
  [ -z "$addr" ] || ip -n "$ns" addr add "$addr" dev "$if" || fail "cannot give $if the address $addr"
  ip -n "$ns" link set "$if" up
  ip -n "$peer_ns" link set "$peer_if" up
}

# make_pc_namespace NS MAC ADDR PEER_MAC: a PC with one veth pair, both ends its adapters: pc0
# carries MAC and ADDR, pc1 PEER_MAC.
make_pc_namespace() {
  make_namespace "$1"
  add_adapter "$1" pc0 "$2" "$3" "$1" pc1 "$4"
}
