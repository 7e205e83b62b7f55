#!/usr/bin/env bash
# A domain batch with no domain account in the list, against a real Samba AD domain controller:
# maclist generate writes a list of three PCs with a domain account; maclist.exe accounts (under
# Wine, so Windows' random source and file calls are the ones used) gives each PC a one-time
# password and takes the account out; accounts-samba.sh, run on the domain controller, makes the
# three computer accounts; then each account takes its own password (kinit) and refuses a wrong
# one, and a second run of the script leaves accounts that have logged on as they are.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/e2e/lib/common.sh"
native=${NATIVE_BUILD:-$root/build/native}

require_built maclist.exe
maclist=$(find "$native" -maxdepth 4 -type f -name maclist | head -n 1)
[ -x "$maclist" ] || fail "the native maclist is not built in $native"
for tool in samba samba-tool kinit; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (samba, samba-ad-dc, krb5-user)"
done

ns=samba-dc-$$
dc=$work/dc
realm=CORP.EXAMPLE
make_namespace "$ns"
add_adapter "$ns" dc0 02:00:c0:00:02:0a 192.0.2.10/24 "$ns" dc1

# --- The domain controller: provisioned into its own folder, run in the foreground ----------
log "provisioning the domain $realm"
in_ns "$ns" samba-tool domain provision --realm=$realm --domain=CORP --server-role=dc \
  --dns-backend=NONE --adminpass='Admin-Pass-1234' --targetdir="$dc" --host-ip=192.0.2.10 \
  --option="interfaces=dc0" --option="bind interfaces only=yes" >"$work/provision.log" 2>&1 ||
  fail "samba-tool domain provision failed: $(tail -n 5 "$work/provision.log")"
conf=$dc/etc/smb.conf
in_ns "$ns" samba -i -M single -s "$conf" >"$work/samba.log" 2>&1 &
stop_at_exit $!
printf '[libdefaults]\n default_realm = %s\n dns_lookup_kdc = false\n dns_lookup_realm = false\n[realms]\n %s = {\n  kdc = 192.0.2.10\n }\n' \
  $realm $realm >"$work/krb5.conf"
export KRB5_CONFIG=$work/krb5.conf KRB5CCNAME=FILE:$work/ccache
# kinit_as PRINCIPAL PASSWORD: a ticket with that password, from the domain controller's KDC.
kinit_as() { printf '%s\n' "$2" | in_ns "$ns" kinit "$1@$realm" >>"$work/kinit.log" 2>&1; }
for _ in $(seq 1 60); do
  kinit_as administrator 'Admin-Pass-1234' && break
  sleep 1
done
kinit_as administrator 'Admin-Pass-1234' || fail "the domain controller's KDC does not answer: $(tail -n 5 "$work/samba.log")"

# --- The list: three PCs and a domain account, then one-time passwords in its place ----------
mkdir -p "$work/list"
printf '%s\n' 00:e0:fd:3a:1b:01 00:e0:fd:3a:1b:02 00:e0:fd:3a:1b:03 >"$work/macs.txt"
"$maclist" generate "$work/macs.txt" --format plain --prefix PC --ip 192.0.2.21 \
  --domain corp.example --user joiner --password 'Joiner-Pass-1' -o "$work/list/mac.ini" \
  >"$work/generate.log" 2>&1 || fail "maclist generate failed: $(cat "$work/generate.log")"

prefix=/tmp/tolvik-wine/domain-accounts-$$
make_wine_prefix "" "$prefix" ""
wine_in "" "$prefix" "" "$(built maclist.exe)" accounts "$(winpath "$work/list/mac.ini")" \
  >"$work/accounts.out" 2>&1 || fail "maclist.exe accounts failed: $(tr -d '\r' <"$work/accounts.out")"
grep -q 'Joiner-Pass-1\|joiner' "$work/list/mac.ini" && fail "the domain account is still in the list"
join_lines=$(sed -n '/^\[Join\]/,$p' "$work/list/mac.ini" | tr -d '\r' | grep -E '^00E0FD3A1B0[123]=')
[ "$(wc -l <<<"$join_lines")" = 3 ] || fail "section [Join] does not hold three passwords: $join_lines"
[ "$(cut -d= -f2 <<<"$join_lines" | sort -u | wc -l)" = 3 ] || fail "two PCs share a password"
while IFS== read -r mac password; do
  [ ${#password} -ge 20 ] || fail "the password of $mac has only ${#password} characters"
  grep -qF "$password" "$work/accounts.out" && fail "maclist.exe printed the password of $mac"
done <<<"$join_lines"
log "maclist.exe accounts: three passwords of their own, the domain account gone"

# --- The accounts, made on the domain controller by the script written beside the list -------
in_ns "$ns" sh "$work/list/accounts-samba.sh" -s "$conf" >"$work/script1.out" 2>&1 ||
  fail "accounts-samba.sh failed: $(cat "$work/script1.out")"
[ "$(grep -c ': ready for its one-time join$' "$work/script1.out")" = 3 ] ||
  fail "accounts-samba.sh did not make three accounts: $(cat "$work/script1.out")"
n=0
while IFS== read -r mac password; do
  n=$((n + 1))
  grep -qF "$password" "$work/script1.out" && fail "accounts-samba.sh printed a password"
  kinit_as "PC00$n\$" "$password" || fail "PC00$n\$ does not take its one-time password"
  kinit_as "PC00$n\$" "${password}x" && fail "PC00$n\$ takes a wrong password"
done <<<"$join_lines"
log "three computer accounts, each taking its own password and refusing another"

# A second run: the accounts have logged on (as a joined PC does), so it leaves them as they are.
in_ns "$ns" sh "$work/list/accounts-samba.sh" -s "$conf" >"$work/script2.out" 2>&1 ||
  fail "the second run of accounts-samba.sh failed: $(cat "$work/script2.out")"
[ "$(grep -c ': already joined by a PC, left as it is$' "$work/script2.out")" = 3 ] ||
  fail "the second run did not leave the joined accounts alone: $(cat "$work/script2.out")"
kinit_as 'PC001$' "$(head -n 1 <<<"$join_lines" | cut -d= -f2)" ||
  fail "the second run changed PC001's password"
log "a second run of the script leaves the joined accounts as they are"

pass
