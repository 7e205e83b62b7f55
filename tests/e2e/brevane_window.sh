#!/usr/bin/env bash
# Brevane's window under Wine and Xvfb: a driver program works the real window as a user would
# (file dialog, format, fields, arrows, options, generation, heading sort, About box, save) and
# the mac.ini it saves is compared byte for byte; Esc and 退出 end the program without saving;
# a save blocked by a read-only mac.ini or a directory of that name shows why and keeps the
# window and the old file, and saves once the cause is gone. Rows removed with Delete and the
# list's context menu leave the rest in order, numbered on without a gap by the next generation;
# a file without a MAC address is answered by a message.
# Screenshots before and after the generation go to artifacts/.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/e2e/lib/common.sh"
prefix=/tmp/tolvik-wine/brevane-e2e-$$
artifacts=$root/artifacts

require_built Brevane.exe brevane_driver.exe
brevane_exe=$(built Brevane.exe)
driver_exe=$(built brevane_driver.exe)

# --- Display and Wine prefix ---------------------------------------------------------------
start_xvfb 96
make_wine_prefix "" "$prefix" "$display"
wine() { wine_in "" "$prefix" "$display" "$@"; }

# --- Inputs --------------------------------------------------------------------------------
mkdir -p "$work/data" "$work/full" "$work/escape" "$work/exit" "$work/stage" "$artifacts"
printf 'IP Address\tName\tLease Expiration\tType\tUnique ID\tDescription\r\n' >"$work/data/leases.txt"
printf '192.168.0.10\tPC-01\t2007-5-20 9:05:00\tDHCP\t000b294e573a\t\r\n' >>"$work/data/leases.txt"
printf '192.168.0.11\tPC-02\t2007-5-20 9:04:00\tDHCP\t000b29112233\t\r\n' >>"$work/data/leases.txt"
printf '192.168.0.12\tPC-03\t2007-5-20 9:06:30\tDHCP\t001a2b3c4d5e\t\r\n' >>"$work/data/leases.txt"
write_tftpd32_sample "$work/data/tftpd32.log"

# What the full run saves: the fields the driver typed, the domain choice and the rows in the
# order of the MAC heading sort (descending), GBK bytes and CR LF line ends.
printf '%s\r\n' '[Config]' 'Gateway=10.1.0.254' 'Gwmetric=2' 'Mask=255.255.0.0' \
  'DNS1=10.1.0.53' 'DNS2=10.1.0.54' 'Domain=corp.example' 'Username=joiner' \
  'password=p@ss word' '[list]' '00E0FD3A1B02=10.1.2.250,PC-009-甲' \
  '00E0FD3A1B01=10.1.2.251,PC-010-甲' '000B294E573A=10.1.2.252,PC-011-甲' \
  '000B29112233=10.1.2.253,PC-012-甲' | gbk >"$work/expected-mac.ini"

# Each run gets its own program directory; Brevane writes mac.ini beside itself.
for run in full escape exit remove; do mkdir -p "$work/$run"; cp "$brevane_exe" "$work/$run/Brevane.exe"; done
# Lease files of other servers, with the TFTPD32 choice left as it opens: each is read by its
# own reader. Rows in the order the server saw the machines, and the list they give.
lease_runs=(dnsmasq powershell)
declare -A lease_file lease_rows
lease_file[dnsmasq]=dnsmasq.leases
lease_rows[dnsmasq]='001|||A4504612ABCD;002|||000C295D3001;003|||000C295D3003;004|||000C295D3004;005|||000C295D3005;006|||000C295D3006;007|||000C295D3002;008|||001BA9112233;'
lease_file[powershell]=powershell_leases_unicode.csv
lease_rows[powershell]='001|||F48C50AABB07;002|||00155D4A3001;003|||00155D4A3002;004|||00155D4A3004;005|||00155D4A3005;006|||00155D4A3003;'
for run in "${lease_runs[@]}"; do
  mkdir -p "$work/$run"
  cp "$brevane_exe" "$work/$run/Brevane.exe"
  cp "$root/tests/data/logs/${lease_file[$run]}" "$work/data/"
  {
    printf '%s\r\n' '[Config]' 'Gateway=' 'Gwmetric=0' 'Mask=255.255.255.0' 'DNS1=' 'DNS2=' 'WorkGroup=LAB' '[list]'
    n=0
    IFS=';' read -ra cells <<<"${lease_rows[$run]}"
    for cell in "${cells[@]}"; do
      n=$((n + 1))
      printf '%s=192.168.0.%d,COMPUTER%03d\r\n' "${cell##*|}" "$n" "$n"
    done
  } >"$work/expected-$run.ini"
done
printf '[Config]\r\nGateway=1.2.3.4\r\n' >"$work/escape/mac.ini"
cp "$work/escape/mac.ini" "$work/escape-before.ini"

# Screenshots when the driver reaches a stage; the driver waits for the ".ok" file.
(
  for stage in before after hint; do
    while [ ! -e "$work/stage/$stage" ]; do sleep 0.2; done
    sleep 0.5
    import -display "$display" -window root "$artifacts/brevane-$stage.png" 2>/dev/null
    touch "$work/stage/$stage.ok"
  done
) &
stop_at_exit $!

# --- Runs ----------------------------------------------------------------------------------
run_driver() {  # run_driver <run> <scenario> [options...]
  local run=$1 scenario=$2
  shift 2
  WINE_TIMEOUT=300 wine "$driver_exe" "$(winpath "$work/$run/Brevane.exe")" "$scenario" "$@" \
    >"$work/driver-$run.log" 2>&1
  local rc=$?
  show_output "$run" "$work/driver-$run.log"
  return $rc
}

run_driver full full --windows-list "$(winpath "$work/data/leases.txt")" \
  --tftpd-log "$(winpath "$work/data/tftpd32.log")" --stage-dir "$(winpath "$work/stage")" ||
  fail "the driver's checks of the full run failed"
[ -f "$work/full/mac.ini" ] || fail "保存退出 wrote no mac.ini"
expect_same_bytes "$work/full/mac.ini" "$work/expected-mac.ini" "mac.ini differs from the expected bytes"
cp "$work/full/mac.ini" "$artifacts/brevane-mac.ini"

for run in "${lease_runs[@]}"; do
  notice=no
  [ "$run" = dnsmasq ] && notice=yes  # a lease file of a Linux server keeps no first-lease order
  run_driver "$run" import --log "$(winpath "$work/data/${lease_file[$run]}")" --format tftpd32 \
    --rows "${lease_rows[$run]}" --field 1019=LAB --notice $notice ||
    fail "the driver's checks of the $run import failed"
  expect_same_bytes "$work/$run/mac.ini" "$work/expected-$run.ini" \
    "the mac.ini saved from the $run sample differs from the expected bytes"
done

run_driver remove remove || fail "the driver's checks of the row removal failed"
printf '%s\r\n' '[Config]' 'Gateway=' 'Gwmetric=0' 'Mask=255.255.255.0' 'DNS1=' 'DNS2=' '[list]' \
  '00163E002000=192.168.0.1,COMPUTER001' '00163E002002=192.168.0.2,COMPUTER002' \
  '00163E002005=192.168.0.3,COMPUTER003' >"$work/expected-remove.ini"
expect_same_bytes "$work/remove/mac.ini" "$work/expected-remove.ini" \
  "the mac.ini saved after removing rows differs from the expected bytes"

run_driver escape escape --tftpd-log "$(winpath "$work/data/tftpd32.log")" || fail "the driver's checks of the Esc run failed"
cmp -s "$work/escape/mac.ini" "$work/escape-before.ini" || fail "Esc changed mac.ini"

run_driver exit exit --tftpd-log "$(winpath "$work/data/tftpd32.log")" || fail "the driver's checks of the 退出 run failed"
[ ! -e "$work/exit/mac.ini" ] || fail "退出 wrote a mac.ini"

# --- Saves that cannot replace mac.ini, then succeed once the cause is gone -----------------
# A read-only mac.ini, and separately a directory of that name: 保存退出 shows why, the window
# and the old file stay byte for byte; the driver then waits while the cause is removed here,
# and its second 保存退出 writes the list and ends the program.
printf '%s\r\n' '[Config]' 'Gateway=' 'Gwmetric=0' 'Mask=255.255.255.0' 'DNS1=' 'DNS2=' '[list]' \
  '000B294E573A=192.168.0.1,COMPUTER001' '000B29112233=192.168.0.2,COMPUTER002' \
  '00E0FD3A1B02=192.168.0.3,COMPUTER003' '00E0FD3A1B01=192.168.0.4,COMPUTER004' \
  >"$work/expected-resaved.ini"
for cause in readonly directory; do
  mkdir -p "$work/$cause" "$work/stage-$cause"
  cp "$brevane_exe" "$work/$cause/Brevane.exe"
  if [ "$cause" = readonly ]; then
    printf '[Config]\r\nGateway=1.2.3.4\r\n[list]\r\nOLD=1\r\n' >"$work/$cause/mac.ini"
    cp "$work/$cause/mac.ini" "$work/$cause-before.ini"
    chmod 444 "$work/$cause/mac.ini"
    reason=无法替换原文件
  else
    mkdir "$work/$cause/mac.ini"
    echo keep >"$work/$cause/mac.ini/inside.txt"
    reason=已有同名的文件夹
  fi
  (
    while [ ! -e "$work/stage-$cause/blocked" ]; do sleep 0.2; done
    ls "$work/$cause" >"$work/$cause-files"
    if [ "$cause" = readonly ]; then
      cmp -s "$work/$cause/mac.ini" "$work/$cause-before.ini" && echo kept >"$work/$cause-state"
      chmod 644 "$work/$cause/mac.ini"
    else
      [ "$(cat "$work/$cause/mac.ini/inside.txt" 2>/dev/null)" = keep ] && echo kept >"$work/$cause-state"
      rm -rf "$work/$cause/mac.ini"
    fi
    touch "$work/stage-$cause/blocked.ok"
  ) &
  run_driver "$cause" blocked-save --tftpd-log "$(winpath "$work/data/tftpd32.log")" \
    --stage-dir "$(winpath "$work/stage-$cause")" --list "$(winpath "$work/$cause/mac.ini")" \
    --reason "$reason" || fail "the driver's checks of the $cause save failed"
  wait $!
  [ "$(cat "$work/$cause-state" 2>/dev/null)" = kept ] || fail "the failed save ($cause) changed the old mac.ini"
  [ "$(cat "$work/$cause-files")" = "$(printf 'Brevane.exe\nmac.ini')" ] ||
    fail "the failed save ($cause) left other files: $(cat "$work/$cause-files")"
  cmp -s "$work/$cause/mac.ini" "$work/expected-resaved.ini" ||
    fail "the save after the $cause cause was removed wrote other bytes"
  [ "$(ls "$work/$cause")" = "$(printf 'Brevane.exe\nmac.ini')" ] || fail "a temporary file stayed ($cause)"
done

[ -f "$artifacts/brevane-before.png" ] && [ -f "$artifacts/brevane-after.png" ] ||
  fail "screenshots missing"
pass
