#!/usr/bin/env bash
# maclist against the programs it stands beside:
# 1. generate: for several logs and field values, maclist (native and maclist.exe under Wine)
#    writes the same bytes as Brevane.exe saves when a driver types those values into its window;
# 2. plan: for several lists on a simulated PC (a network namespace whose adapter carries the
#    MAC), the summary and the actions maclist plans agree line for line with what Tolvik's code
#    does under Wine (tolvik_headless: its summary, the command lines the stand-in netsh and wmic
#    record and the domain join the stand-in netapi32.dll records, its computer-name calls, the ICD file it writes, the close handler's actions);
# 3. check: maclist.exe under Wine reports the same findings as the native maclist.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/e2e/lib/common.sh"
native=${NATIVE_BUILD:-$root/build/native}

ns=maclist-e2e-$$
prefix=/tmp/tolvik-wine/maclist-e2e-$$
pc_prefix=/tmp/tolvik-wine/maclist-e2e-pc-$$
mac=02:00:c6:33:64:07
mac_text=0200C6336407

require_built Brevane.exe brevane_driver.exe tolvik_headless.exe netsh.exe wmic.exe netapi32.dll maclist.exe
maclist=$(find "$native" -maxdepth 4 -type f -name maclist | head -n 1)
[ -x "$maclist" ] || fail "the native maclist is not built in $native"
command -v iconv >/dev/null || fail "iconv is not installed"

# --- Wine on a display, for Brevane's window and maclist.exe ----------------------------------
start_xvfb 93
make_wine_prefix "" "$prefix" "$display"
desk_wine() { wine_in "" "$prefix" "$display" "$@"; }

# --- 1. generate: maclist and Brevane's save --------------------------------------------------
mkdir -p "$work/data"
printf '%s\r\n' \
  'Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]' \
  'DHCP: proposed address 192.168.0.1' \
  'Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:0b:29:11:22:33 [12/10 14:03:29.015]' \
  'Rcvd DHCP Rqst Msg for IP 192.168.0.1, Mac 00:0b:29:4e:57:3a [12/10 14:03:30.100]' \
  'Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:e0:fd:3a:1b:02 [01/01 00:05:01.001]' \
  'Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:E0:FD:3A:1B:01 [12/10 14:05:02.500]' \
  >"$work/data/tftpd32.log"
printf 'IP Address\tName\tLease Expiration\tType\tUnique ID\tDescription\r\n' >"$work/data/leases.txt"
printf '192.168.0.10\tPC-01\t2007-5-20 9:05:00\tDHCP\t000b294e573a\t\r\n' >>"$work/data/leases.txt"
printf '192.168.0.11\tPC-02\t2007-5-20 9:04:00\tDHCP\t000b29112233\t\r\n' >>"$work/data/leases.txt"
printf '192.168.0.12\tPC-03\t2007-5-21 9:06:30\tDHCP\t001a2b3c4d5e\t\r\n' >>"$work/data/leases.txt"

# Control ids of Brevane's fields (1000 + their row in the window's table).
declare -A field_id=([prefix]=1011 [suffix]=1012 [first]=1009 [digits]=1010 [ip]=1037
  [mask]=1038 [gateway]=1039 [metric]=1040 [dns1]=1041 [dns2]=1042 [workgroup]=1019
  [domain]=1020 [user]=1021 [password]=1022)

# compare_generate CASE LOGKIND LOG [field=value...]: the same values through both programs.
compare_generate() {
  local case=$1 kind=$2 logfile=$3
  shift 3
  local dir=$work/gen-$case
  mkdir -p "$dir"
  cp "$(built Brevane.exe)" "$dir/Brevane.exe"
  local driver_args=() maclist_args=(generate "$logfile" -o "$dir/maclist.ini")
  if [ "$kind" = windows ]; then
    driver_args+=(--windows-list "$(winpath "$logfile")")
    maclist_args+=(--format windows)
  else
    driver_args+=(--tftpd-log "$(winpath "$logfile")")
    maclist_args+=(--format tftpd32)
  fi
  local pair key value
  for pair in "$@"; do
    key=${pair%%=*}
    value=${pair#*=}
    if [ "$key" = choose ]; then
      driver_args+=(--choose "$value")
      continue
    fi
    driver_args+=(--field "${field_id[$key]}=$value")
    maclist_args+=("--$key" "$value")
  done
  WINE_TIMEOUT=300 desk_wine "$(built brevane_driver.exe)" \
    "$(winpath "$dir/Brevane.exe")" save "${driver_args[@]}" >"$dir/driver.log" 2>&1 ||
    { tr -d '\r' <"$dir/driver.log" | tail -n 20; fail "generate $case: the Brevane driver failed"; }
  [ -f "$dir/mac.ini" ] || fail "generate $case: Brevane saved no mac.ini"
  "$maclist" "${maclist_args[@]}" >/dev/null 2>"$dir/maclist.err" ||
    fail "generate $case: maclist failed: $(cat "$dir/maclist.err")"
  if ! cmp -s "$dir/mac.ini" "$dir/maclist.ini"; then
    diff <(iconv -f GBK -t UTF-8 "$dir/mac.ini") <(iconv -f GBK -t UTF-8 "$dir/maclist.ini")
    fail "generate $case: maclist and Brevane wrote different bytes"
  fi
  log "generate $case: maclist and Brevane.exe wrote the same $(wc -c <"$dir/mac.ini") bytes"
}

compare_generate defaults tftpd32 "$work/data/tftpd32.log" workgroup=WORKGROUP
compare_generate domain windows "$work/data/leases.txt" 'prefix=机房-' 'suffix=-甲' first=998 \
  digits=3 ip=10.1.2.3 mask=255.255.0.0 gateway=10.1.0.254 metric=2 dns1=10.1.0.53 \
  dns2=10.1.0.54 choose=domain domain=corp.example user=joiner 'password=p@ss word'
compare_generate dhcp tftpd32 "$work/data/tftpd32.log" ip=dhcp gateway=NONE dns1=DHCP first=0 \
  digits=1 prefix=PC suffix=

# maclist.exe under Wine writes the same bytes as the native maclist, also over an older file.
dir=$work/gen-domain
printf '[Config]\r\nGateway=1.2.3.4\r\n' >"$dir/exe.ini"
desk_wine "$(built maclist.exe)" generate "$(winpath "$work/data/leases.txt")" --format windows \
  --prefix "机房-" --suffix "-甲" --first 998 --ip 10.1.2.3 --mask 255.255.0.0 --gateway 10.1.0.254 \
  --metric 2 --dns1 10.1.0.53 --dns2 10.1.0.54 --domain corp.example --user joiner \
  --password "p@ss word" -o "$(winpath "$dir/exe.ini")" >"$dir/exe.out" 2>&1 ||
  fail "maclist.exe generate failed: $(tr -d '\r' <"$dir/exe.out")"
cmp -s "$dir/exe.ini" "$dir/maclist.ini" || fail "maclist.exe and maclist wrote different bytes"
[ -z "$(find "$dir" -name '.*.tmp')" ] || fail "a temporary file was left beside the output"
log "generate: maclist.exe under Wine wrote the same bytes, replacing an older file"

# --- 3. check: maclist.exe and the native maclist find the same problems ----------------------
printf '%s\r\n' '[Config]' 'Gateway=192.168.0.254' 'Gwmetric=x' 'Mask=255.255.255.0' 'DNS1=DHCP' \
  'DNS2=' 'WorkGroup=WORKGROUP' '[list]' '00E0FD3A1B01=192.168.0.1,PC001' \
  '00e0fd3a1b01=192.168.0.2,PC002' '00E0FD3A1B03=192.168.0.1,机房电脑机房电脑' \
  '00-E0-FD-3A-1B-04=192.168.1.4,PC 004' | gbk >"$work/bad.ini"
"$maclist" check "$work/bad.ini" >"$work/check-native.txt"
[ $? = 1 ] || fail "native check of a bad list did not exit 1"
desk_wine "$(built maclist.exe)" check "$(winpath "$work/bad.ini")" >"$work/check-exe.raw" 2>&1
[ $? = 1 ] || fail "maclist.exe check of a bad list did not exit 1: $(tr -d '\r' <"$work/check-exe.raw")"
# The same lines but for the file name; the Windows console text is GBK.
sed "s|^$work/bad.ini:||" "$work/check-native.txt" >"$work/check-native.cut"
tr -d '\r' <"$work/check-exe.raw" | iconv -f GBK -t UTF-8 | sed 's|^[^:]*:[^:]*:||' >"$work/check-exe.cut"
if ! cmp -s "$work/check-native.cut" "$work/check-exe.cut"; then
  diff "$work/check-native.cut" "$work/check-exe.cut"
  fail "maclist.exe and maclist report different findings"
fi
[ "$(wc -l <"$work/check-native.cut")" -ge 6 ] || fail "too few findings: $(cat "$work/check-native.cut")"
log "check: maclist.exe and maclist report the same $(wc -l <"$work/check-native.cut") findings"

# --- 2. plan: maclist and Tolvik's code on a simulated PC -------------------------------------
# Both ends of the veth pair are adapters of this PC; the plan pictures one adapter, so the lists
# name the first end's MAC and never the second's (02:00:c6:33:64:08).
make_pc_namespace "$ns" "$mac" 198.51.100.7/24 02:00:c6:33:64:08
make_wine_prefix "$ns" "$pc_prefix" ""
install_stand_ins "$pc_prefix" netsh.exe wmic.exe netapi32.dll
pc_wine() { wine_in "$ns" "$pc_prefix" "" "$@"; }
guid=$(pc_wine "$(built tolvik_headless.exe)" --probe | adapter_guid "$mac_text")
[ -n "$guid" ] || fail "Wine lists no adapter with MAC $mac_text"

name_connection() {
  pc_wine reg add "$(connection_key "$guid")" /v Name /t REG_SZ /d "$1" /f >/dev/null 2>&1 ||
    fail "cannot name the connection $1"
}

# compare_plan CASE CONNECTION "SWITCHES" [--icd]: mac.ini (and icd.ini) are in $work/plan-CASE.
compare_plan() {
  local case=$1 connection=$2 switches=$3 with_icd=${4:-}
  local dir=$work/plan-$case
  cp "$(built tolvik_headless.exe)" "$dir/"
  cp "$dir/mac.ini" "$dir/list.ini"
  name_connection "$connection"
  local exe_path
  exe_path=$(winpath "$dir/tolvik_headless.exe")

  # Tolvik's first run shows the summary (no /A), then a run with /A applies and closes.
  (cd "$dir" && pc_wine "$dir/tolvik_headless.exe" --info-out "$(winpath "$dir/summary.gbk")" \
    >"$dir/first.out" 2>&1) || fail "plan $case: tolvik_headless failed"
  # shellcheck disable=SC2086
  (cd "$dir" && pc_wine "$dir/tolvik_headless.exe" /A $switches >"$dir/apply.out" 2>&1) ||
    fail "plan $case: tolvik_headless /A failed"
  take_stand_in_records "$pc_prefix" "$dir"
  tr -d '\r' <"$dir/apply.out" >"$dir/apply.txt"
  local current
  current=$(sed -n 's/.*computersystem where Name="\([^"]*\)".*/\1/p' "$dir/commands.log" 2>/dev/null | head -n 1)

  local plan_args=(plan "$dir/list.ini" --mac "$mac" --connection "$connection"
                   --program "$exe_path")
  [ -n "$current" ] && plan_args+=(--current-name "$current")
  [ -n "$with_icd" ] && plan_args+=(--icd "$dir/icd.ini")
  # shellcheck disable=SC2206
  plan_args+=($switches)
  "$maclist" "${plan_args[@]}" >"$dir/plan.txt" 2>"$dir/plan.err"
  local rc=$?

  if grep -q . "$dir/summary.gbk" && iconv -f GBK -t UTF-8 "$dir/summary.gbk" | grep -q '未找到对应网卡'; then
    [ $rc = 1 ] || fail "plan $case: maclist exit $rc where Tolvik found no line"
    iconv -f GBK -t UTF-8 "$dir/summary.gbk" >"$dir/tolvik-error.txt"
    printf '\n' >>"$dir/tolvik-error.txt"
    sed 's/^maclist plan: //' "$dir/plan.err" | cmp -s - "$dir/tolvik-error.txt" ||
      fail "plan $case: error text [$(cat "$dir/plan.err")] differs from Tolvik's"
    [ ! -f "$dir/commands.log" ] || fail "plan $case: Tolvik ran commands without a line"
    log "plan $case: both give Tolvik's error text and do nothing"
    return
  fi
  [ $rc = 0 ] || fail "plan $case: maclist exit $rc: $(cat "$dir/plan.err")"

  # The summary: Tolvik's information text, CR LF lines, against the plan's first block.
  iconv -f GBK -t UTF-8 "$dir/summary.gbk" | sed 's/\r$//' >"$dir/tolvik-summary.txt"
  head -n "$(wc -l <"$dir/tolvik-summary.txt")" "$dir/plan.txt" >"$dir/plan-summary.txt"
  if ! cmp -s "$dir/tolvik-summary.txt" "$dir/plan-summary.txt"; then
    diff "$dir/tolvik-summary.txt" "$dir/plan-summary.txt"
    fail "plan $case: the summaries differ"
  fi

  # The actions, in order, in the plan's words, from what Tolvik's run left behind: the command
  # lines the stand-ins recorded (the batch file is the one command that is no stand-in), the
  # computer-name calls and restart it reported, the ICD file it wrote, the files it deleted.
  local actions=$dir/tolvik-actions.txt
  : >"$actions"
  local commands=()
  if [ -f "$dir/commands.log" ]; then
    # The membership look-up before a domain join is Tolvik's own question, no action.
    mapfile -t commands < <(iconv -f GBK -t UTF-8 "$dir/commands.log" | grep -v '^NetGetJoinInformation(')
  fi
  local next=0 line shown
  while IFS= read -r line; do
    case "$line" in
      "run: "* | "call: NetJoinDomain("*)
        if [ $next -lt ${#commands[@]} ]; then
          echo "${line%%: *}: ${commands[$next]}" >>"$actions"
          next=$((next + 1))
        fi ;;
      "    where wmic is missing: "* | "    on Windows "*)
        echo "$line" >>"$actions" ;;  # notes under the wmic line: this PC has wmic, and Wine's version
      "call: SetComputerNameA "*)
        shown=$(sed -n 's/^system: SetComputerName //p' "$dir/apply.txt")
        # tolvik_headless shows other bytes than printable ASCII as \xNN.
        echo "call: SetComputerNameA $(printf '%b' "$shown" | iconv -f GBK -t UTF-8)" >>"$actions" ;;
      "call: SetComputerNameExA "*)
        shown=$(sed -n 's/^system: SetComputerNameEx //p' "$dir/apply.txt")
        echo "call: SetComputerNameExA $(printf '%b' "$shown" | iconv -f GBK -t UTF-8)" >>"$actions" ;;
      "write: "*)
        # key=value written into the ICD client's file: read back from the file itself.
        local kv=${line##*] }
        local key=${kv%%=*}
        local value
        value=$(tr -d '\r' <"$dir/icd/cfg/localsyscfg.ini" | sed -n "s/^$key=//p" | head -n 1)
        echo "write: $(winpath "$dir/icd")\\cfg\\localsyscfg.ini [LOCSYSPARAMS] $key=$value" >>"$actions" ;;
      "delete: "*)
        [ -e "$dir/mac.ini" ] || echo "delete: $(winpath "$dir/mac.ini")" >>"$actions" ;;
      "delete at restart: "*)
        pc_wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
          /v PendingFileRenameOperations 2>/dev/null | tr -d '\r' | grep -qi 'tolvik_headless.exe' &&
          echo "delete at restart: $exe_path" >>"$actions" ;;
      "restart: "*)
        sed -n 's/^system: InitiateSystemShutdown \(.*\)$/restart: InitiateSystemShutdownA "" \1/p' \
          "$dir/apply.txt" >>"$actions" ;;
      *) ;;
    esac
  done < <(tail -n +"$(( $(wc -l <"$dir/tolvik-summary.txt") + 2 ))" "$dir/plan.txt")
  [ $next = ${#commands[@]} ] || fail "plan $case: Tolvik ran ${#commands[@]} commands, the plan $next"
  tail -n +"$(( $(wc -l <"$dir/tolvik-summary.txt") + 2 ))" "$dir/plan.txt" >"$dir/plan-actions.txt"
  # Nothing Tolvik did is missing from the plan: the same number of each kind of action.
  same_count() {  # same_count WHAT TOLVIK-COUNT PLAN-PATTERN
    local planned
    planned=$(grep -c "$3" "$dir/plan-actions.txt")
    [ "$2" = "$planned" ] || fail "plan $case: Tolvik did $1 $2 times, the plan shows it $planned times"
  }
  same_count SetComputerNameA "$(grep -c '^system: SetComputerName ' "$dir/apply.txt")" '^call: SetComputerNameA '
  same_count SetComputerNameExA "$(grep -c '^system: SetComputerNameEx ' "$dir/apply.txt")" '^call: SetComputerNameExA '
  same_count "a restart" "$(grep -c '^system: InitiateSystemShutdown ' "$dir/apply.txt")" '^restart: '
  same_count "the deletion of mac.ini" "$([ -e "$dir/mac.ini" ] && echo 0 || echo 1)" '^delete: '
  if [ -f "$dir/icd/cfg/localsyscfg.ini" ]; then
    # The file starts with MainCCSIP=0.0.0.0; Tolvik's three writes replace it.
    local icd_writes=3
    tr -d '\r' <"$dir/icd/cfg/localsyscfg.ini" | grep -q '^MainCCSIP=0\.0\.0\.0$' && icd_writes=0
    same_count "ICD writes" "$icd_writes" '^write: '
  fi
  if ! cmp -s "$actions" "$dir/plan-actions.txt"; then
    diff "$actions" "$dir/plan-actions.txt"
    fail "plan $case: the actions differ"
  fi
  log "plan $case: summary ($(wc -l <"$dir/tolvik-summary.txt") lines) and $(wc -l <"$actions") actions agree"
}

# a: workgroup, gateway and metric, two DNS servers, an ICD range holding the address.
dir=$work/plan-icd
mkdir -p "$dir/icd/cfg"
printf '%s\r\n' '[Config]' 'Gateway=198.51.100.1' 'Gwmetric=3' 'Mask=255.255.255.0' \
  'DNS1=198.51.100.53' 'DNS2=198.51.100.54' 'WorkGroup=WORKGROUP' '[list]' \
  '0200C6336409=198.51.100.9,PC-009' "${mac_text,,}=198.51.100.21,PC-021" >"$dir/mac.ini"
printf '%s\r\n' '[cfg]' "path=$(winpath "$dir/icd")" '[list]' 'r1' '[r1]' 'fromip=198.51.100.10' \
  'toip=10.0.0.50' 'AppServerIP=198.51.100.100' 'MainCCSIP=198.51.100.101' 'BackCCSIP=' >"$dir/icd.ini"
printf '[LOCSYSPARAMS]\r\nMainCCSIP=0.0.0.0\r\nOther=kept\r\n' >"$dir/icd/cfg/localsyscfg.ini"
compare_plan icd "本地连接" "" --icd

# b: DHCP address, removed gateway, DNS by DHCP, a domain, a connection name with spaces, /K /R.
dir=$work/plan-domain
mkdir -p "$dir"
printf '%s\r\n' '[Config]' 'Gateway=none' 'Gwmetric=0' 'Mask=255.255.0.0' 'DNS1=dhcp' 'DNS2=1.1.1.1' \
  'Domain=corp.example' 'Username=joiner' 'password=p@ss' '[list]' "$mac_text=dhcp,机房-07" \
  >"$dir/mac.ini.utf8"
gbk <"$dir/mac.ini.utf8" >"$dir/mac.ini"
rm "$dir/mac.ini.utf8"
compare_plan domain "Local Area Connection" "/K /R"

# c: a list without this PC's line.
dir=$work/plan-none
mkdir -p "$dir"
printf '%s\r\n' '[Config]' 'Gateway=' '[list]' '0200C6336499=198.51.100.99,PC-099' >"$dir/mac.ini"
compare_plan none "本地连接" ""

pass
