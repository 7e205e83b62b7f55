#!/usr/bin/env bash
# Tolvik's actions for real under Wine: in a network namespace whose adapter has a chosen MAC and
# a DHCP server recorded in the registry, Tolvik.exe fetches mac.ini and icd.ini with the tftp
# stand-in from real tftpd-hpa servers, runs the recording netsh and wmic stand-ins (all of them
# in the prefix's system directory, lib/stand_ins.sh), sets the
# computer name, writes the ICD client's settings file and, with /K, deletes the list and starts
# its self-delete batch file. Roads: the RunOnce value written by the button and then run as the
# unattended /A /K /N start, which removes its next-logon task; /IP: with a named server; servers
# that deliver nothing, where the unattended run leaves a task (schtasks stand-in) for the next
# logon; a tftp that hangs and is ended after its 12 seconds; the fetch button with an empty address box; no tftp at all, where
# Tolvik reads the files over TFTP itself; no wmic, where the join goes through NetJoinDomain
# while a netsh.exe and a netapi32.dll planted beside Tolvik must not run;
# an unattended run that finds no list and waits; a refused domain join (NetJoinDomain 1326, the
# password on no command line) that leaves a task for the next logon; a Windows XP prefix: the
# Run value for the next logon, gone after a finished run, and the join after the new name is in
# effect, with FJoinOptions=3; an adapter that has DHCP already, the same DNS server twice, wmic
# finding no instance, a PC already in its domain, a PC joining its own account with a one-time
# password; a DHCP server named only under
# Tcpip\Parameters\Interfaces.
# Restarts are never requested here (no /R): the restart path is checked by the unit tests'
# recording platform.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/e2e/lib/common.sh"

ns=tolvik-act-$$          # the PC: its adapter, Xvfb and the Wine prefix's wineserver
peer_ns=tolvik-actp-$$    # the servers: three tftpd-hpa instances on the other end of the veth
mac=02:00:c0:00:02:41
mac_text=0200C0000241
prefix=/tmp/tolvik-wine/h4-actions-$$
tftpd_pids=()

require_built Tolvik.exe tolvik_driver.exe netsh.exe wmic.exe tftp.exe netapi32.dll schtasks.exe
[ -x /usr/sbin/in.tftpd ] || fail "tftpd-hpa (/usr/sbin/in.tftpd) is not installed"

# --- network: the PC's adapter and, across the veth, the three servers ----------------------------
make_namespace "$ns"
make_namespace "$peer_ns"
add_adapter "$ns" ta0 "$mac" 192.0.2.10/24 "$peer_ns" ts0
for a in 192.0.2.1 192.0.2.2 192.0.2.3; do ip -n "$peer_ns" addr add "$a/24" dev ts0; done

# Server 1 (the adapter's DHCP server): mac.ini and icd.ini for the unattended road.
# Server 2 (named with /IP:): another mac.ini, no icd.ini. Server 3: nothing at all.
mkdir -p "$work/srv1" "$work/srv2" "$work/srv3" "$work/icd/cfg"
icd_dir_win=$(winpath "$work/icd")
crlf "[Config]" "Gateway=192.0.2.1" "Gwmetric=0" "Mask=255.255.255.0" "DNS1=192.0.2.53" \
  "DNS2=192.0.2.54" "WorkGroup=WORKGROUP" "[list]" "0200C0000242=192.0.2.22,PC-022" \
  "$mac_text=192.0.2.21,PC-021" >"$work/srv1/mac.ini"
crlf "[cfg]" "path=$icd_dir_win" "[list]" "r1" "[r1]" "fromip=192.0.2.1" "toip=192.0.2.50" \
  "AppServerIP=192.0.2.100" "MainCCSIP=192.0.2.101" "BackCCSIP=192.0.2.102" >"$work/srv1/icd.ini"
crlf "[Config]" "Gateway=" "Mask=255.255.0.0" "DNS1=DHCP" "WorkGroup=NAMED" "[list]" \
  "$mac_text=192.0.2.31,PC-031" >"$work/srv2/mac.ini"
chmod 755 "$work" "$work/srv1" "$work/srv2" "$work/srv3"
chmod 644 "$work"/srv1/* "$work"/srv2/*
for i in 1 2 3; do
  ip netns exec "$peer_ns" /usr/sbin/in.tftpd -L --address "192.0.2.$i:69" --secure "$work/srv$i" \
    </dev/null >/dev/null 2>&1 &
  tftpd_pids+=($!)
  stop_at_exit $!
done
crlf "[LOCSYSPARAMS]" "MainCCSIP=0.0.0.0" "Port=5060" "AppServerIP=0.0.0.0" "[Other]" "Keep=1" \
  >"$work/icd/cfg/localsyscfg.ini"

# --- Xvfb and a Wine prefix whose wineserver and services run in the PC's namespace --------------
start_xvfb 70 "$ns"
make_wine_prefix "$ns" "$prefix" "$display"
install_stand_ins "$prefix" netsh.exe wmic.exe tftp.exe netapi32.dll schtasks.exe
wine() { wine_in "$ns" "$prefix" "$display" "$@"; }
for pid in "${tftpd_pids[@]}"; do kill -0 "$pid" 2>/dev/null || fail "a tftpd-hpa server did not start"; done

driver() { wine "$WIN_BUILD/tolvik_driver.exe" "$@"; }

guid=$(driver adapters | adapter_guid "$mac_text")
[ -n "$guid" ] || fail "Wine lists no adapter with MAC $mac_text"
tcpip=$(tcpip_key "$guid")
reg_add() { wine reg add "$@" /f >>"$work/reg.log" 2>&1 || fail "reg add $*"; }
reg_add "$tcpip" /v EnableDHCP /t REG_DWORD /d 1
reg_add "$tcpip" /v DHCPServer /t REG_SZ /d 192.0.2.1
# A connection name with a space: netsh must be given it between double quotes.
reg_add "$(connection_key "$guid")" /v Name /t REG_SZ /d "本地连接 2"

# A temporary folder with a space, as under a Vista profile ("C:\Users\Lab Admin\..."): the
# batch file must still start, so its path has to reach CreateProcessA between double quotes.
mkdir -p "$prefix/drive_c/users/Lab Admin/Temp"
reg_add 'HKCU\Environment' /v TEMP /t REG_SZ /d 'C:\users\Lab Admin\Temp'
reg_add 'HKCU\Environment' /v TMP /t REG_SZ /d 'C:\users\Lab Admin\Temp'

current_name=$(wine cmd /c 'echo %COMPUTERNAME%' 2>/dev/null | tr -d '\r\n')
temp_win=$(wine cmd /c 'echo %TEMP%' 2>/dev/null | tr -d '\r\n')
temp_unix=$(wine winepath -u "$temp_win" 2>/dev/null | tr -d '\r')
[ -n "$current_name" ] && [ -d "$temp_unix" ] || fail "cannot read the computer name or TEMP"
[[ "$temp_win" == *"Lab Admin"* ]] || fail "TEMP is $temp_win, not the folder with a space"
temp_win=${temp_win%\\}\\

# One program directory per road: Tolvik alone. The stand-ins' records of a road are taken into
# it (records DIR) before they are read.
make_pc() {
  local dir=$work/$1
  mkdir -p "$dir"
  cp "$WIN_BUILD/Tolvik.exe" "$dir/"
  echo "$dir"
}
records() { take_stand_in_records "$prefix" "$1"; }
# Started from $work, not from its own directory, so a fetch into the wrong directory shows.
start_tolvik() {  # start_tolvik DIR [switches...]
  local dir=$1
  shift
  (cd "$work" && wine "$dir/Tolvik.exe" "$@" >"$dir/tolvik.out" 2>&1 &)
}
expect_records() {  # expect_records DIR FILE LABEL: the stand-ins' records equal FILE's bytes
  records "$1"
  expect_same_bytes "$1/commands.log" "$2" "$3: recorded command lines differ"
}
expect_info() {  # expect_info LABEL FILE: the window's information text equals FILE's bytes
  expect_same_bytes "$work/$1.info" "$2" "$1: information text differs"
}
printf '未找到配置文件: MAC.INI\r\n请使用 /N 或 /IP 参数从网络获取配置文件' | gbk >"$work/missing.gbk"
printf '尝试从 ' | gbk >"$work/trying.gbk"
printf '检查配置，请稍候……' | gbk >"$work/checking.gbk"
# settle LABEL SECONDS: the fetch shows the window before the first run has ended (still with
# its first text, then with the fetch attempt); waits until the information text is neither and
# keeps it in $work/LABEL.info. The driver asks for the text's length, then for the text, so a
# text replaced in between comes back cut to the old length: the text counts once two reads agree.
settle() {
  local deadline=$(($(date +%s) + $2)) size
  size=$(stat -c %s "$work/trying.gbk")
  rm -f "$work/$1.previous"
  while :; do
    rm -f "$work/$1.info"
    if driver wait-window 10000 info-out "$(winpath "$work/$1.info")" >/dev/null &&
      [ -s "$work/$1.info" ] &&
      ! cmp -s -n "$size" "$work/$1.info" "$work/trying.gbk" &&
      ! cmp -s "$work/$1.info" "$work/checking.gbk"; then
      cmp -s "$work/$1.info" "$work/$1.previous" && return 0
      cp "$work/$1.info" "$work/$1.previous"
    fi
    [ "$(date +%s)" -lt "$deadline" ] || fail "$1: the fetch did not end within $2 s"
    sleep 1
  done
}

# wait_info_prefix LABEL PREFIX_FILE SECONDS: waits until the information text starts with the
# bytes of PREFIX_FILE (a text that keeps changing, such as a countdown), keeps it in LABEL.info.
wait_info_prefix() {
  local deadline=$(($(date +%s) + $3)) size
  size=$(stat -c %s "$2")
  while :; do
    rm -f "$work/$1.info"
    driver wait-window 10000 info-out "$(winpath "$work/$1.info")" >/dev/null &&
      cmp -s -n "$size" "$work/$1.info" "$2" && return 0
    [ "$(date +%s)" -lt "$deadline" ] || fail "$1: no text starting with $(iconv -f GBK -t UTF-8 <"$2") within $3 s"
    sleep 0.5
  done
}
runonce_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\RunOnce'
runonce_value() {
  wine reg query "$runonce_key" /v Tolvik $REG_VIEW 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *Tolvik *REG_SZ *//p'
}
clear_runonce() { wine reg delete "$runonce_key" /v Tolvik /f $REG_VIEW >/dev/null 2>&1 || true; }
run_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
run_value() {
  wine reg query "$run_key" /v Tolvik $REG_VIEW 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *Tolvik *REG_SZ *//p'
}
# The task the schtasks stand-in keeps while it exists, and the definition file Tolvik gave it.
task_copy=$(stand_in_dir "$prefix")/task-Tolvik.xml
task_create_line="schtasks /create /tn Tolvik /xml \"${temp_win}tolvik-task.xml\" /f"
# expect_task LABEL PROGRAM_DIR SWITCHES: the task exists, its definition is UTF-16 with a BOM
# and starts PROGRAM_DIR's Tolvik.exe with SWITCHES at any administrator's logon, elevated; the
# definition file is gone from the temporary folder.
expect_task() {
  [ -f "$task_copy" ] || fail "$1: no task was made for the next logon"
  [ "$(head -c 2 "$task_copy" | od -An -tx1 | tr -d ' ')" = fffe ] || fail "$1: the task file has no UTF-16 LE BOM"
  local xml part
  xml=$(iconv -f UTF-16 -t UTF-8 "$task_copy") || fail "$1: the task file is not UTF-16"
  for part in "<LogonTrigger><Enabled>true</Enabled></LogonTrigger>" "<GroupId>S-1-5-32-544</GroupId>" \
    "<RunLevel>HighestAvailable</RunLevel>" "<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>" \
    "<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>" "<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>" \
    "<Command>$(winpath "$2/Tolvik.exe")</Command><Arguments>$3</Arguments>"; do
    grep -qF -- "$part" <<<"$xml" || fail "$1: the task lacks $part: $xml"
  done
  [ ! -e "$temp_unix/tolvik-task.xml" ] || fail "$1: the task definition stayed in the temporary folder"
  [ -z "$(runonce_value)" ] || fail "$1: RunOnce was written again: $(runonce_value)"
}

# --- 1. The button "添加至启动项" with "修改后重启" unticked writes the RunOnce value -------------
log "RunOnce value from the button"
pc1=$(make_pc 'pc%1')  # cmd would read %1 in the batch file's del lines unless written %%1
start_tolvik "$pc1"
driver wait-window 30000 click 10 expect-check 10 0 click 2 wait-gone 30000 ||
  fail "add to start-up did not close the window"
want="\"$(winpath "$pc1/Tolvik.exe")\" /A /K /N"
runonce=$(runonce_value)
[ "$runonce" = "$want" ] || fail "RunOnce value [$runonce], want [$want]"
records "$pc1"
[ ! -e "$pc1/commands.log" ] || fail "the button ran a command: $(cat "$pc1/commands.log")"

# --- 2. The unattended start the value asks for: fetch, apply, delete, self-delete batch ----------
log "unattended start with the switches of the RunOnce value"
switches=${runonce#\"*\" }
batch_unix="$temp_unix/\$94827\$.bat"
rm -f "$batch_unix"
clear_runonce  # as Windows does before it starts the value's command
started=$(date +%s)
# shellcheck disable=SC2086  # the switches are separate arguments, as Windows would pass them
(cd "$work" && wine "$pc1/Tolvik.exe" $switches >"$pc1/tolvik.out" 2>&1) &
tolvik_pid=$!
# The batch file deletes itself once it has run: copy it as soon as it is there.
while kill -0 "$tolvik_pid" 2>/dev/null || [ -f "$batch_unix" ]; do
  if [ -f "$batch_unix" ]; then
    sleep 0.05
    cp "$batch_unix" "$work/batch.captured" 2>/dev/null && break
  fi
  sleep 0.02
  [ $(($(date +%s) - started)) -lt 180 ] || fail "the unattended run did not end"
done
wait "$tolvik_pid"
{
  printf 'tftp 192.0.2.1 get mac.ini\ntftp 192.0.2.1 get icd.ini\n'
  printf 'netsh  interface ip set address "本地连接 2" static 192.0.2.21 255.255.255.0 192.0.2.1 0\n'
  printf 'netsh  interface ip set dns "本地连接 2" static none\n'
  printf 'netsh  interface ip add dns "本地连接 2" 192.0.2.53\n'
  printf 'netsh  interface ip add dns "本地连接 2" 192.0.2.54\n'
  printf 'wmic  computersystem where Name="%s" call JoinDomainOrWorkgroup Name="WORKGROUP"\n' \
    "$current_name"
  printf 'schtasks /delete /tn Tolvik /f\n'
} | gbk >"$work/unattended.expected"
expect_records "$pc1" "$work/unattended.expected" "unattended run"
[ ! -e "$pc1/mac.ini" ] || fail "/K after the apply left mac.ini"
[ -z "$(runonce_value)" ] || fail "a run that applied everything wrote RunOnce again: $(runonce_value)"
[ ! -e "$task_copy" ] || fail "a run that applied everything left a task"
[ -f "$pc1/icd.ini" ] || fail "icd.ini was not fetched into the program directory, or /K deleted it"
[ ! -e "$work/mac.ini" ] && [ ! -e "$work/icd.ini" ] || fail "tftp fetched into Tolvik's current directory"
name_set=$(wine reg query 'HKLM\System\CurrentControlSet\Control\ComputerName\ComputerName' \
  /v ComputerName 2>/dev/null | tr -d '\r' | sed -n 's/^ *ComputerName *REG_SZ *//p')
[ "$name_set" = PC-021 ] || fail "computer name to be used at the next start is [$name_set]"
settings=$(tr -d '\r' <"$work/icd/cfg/localsyscfg.ini")
for line in MainCCSIP=192.0.2.101 BackCCSIP=192.0.2.102 AppServerIP=192.0.2.100 Port=5060 Keep=1; do
  grep -qx "$line" <<<"$settings" || fail "localsyscfg.ini lacks $line: $settings"
done
grep -q 0.0.0.0 <<<"$settings" && fail "an old ICD address is left: $settings"
program_win=$(winpath "$pc1/Tolvik.exe")
{
  printf 'cd %s\r\n' "$temp_win"
  for _ in 1 2 3 4 5 6; do printf 'del "%s"\r\n' "${program_win//%/%%}"; done
  printf 'del "%s$94827$.bat"\r\n' "$temp_win"
} >"$work/batch.expected"
[ -f "$work/batch.captured" ] || fail "no self-delete batch file was written"
cmp -s "$work/batch.captured" "$work/batch.expected" || {
  cat -A "$work/batch.captured"; fail "the batch file differs from its eight lines"
}
# The batch file was started (from the folder with a space) if its last line deleted it.
for _ in $(seq 100); do [ -e "$batch_unix" ] || break; sleep 0.1; done
[ ! -e "$batch_unix" ] || fail "the batch file was not started, or did not run to its last line"
# Its del lines may all run while Tolvik's file is still in use; the program is then removed at
# the next start of Windows.
for _ in $(seq 50); do [ -e "$pc1/Tolvik.exe" ] || break; sleep 0.1; done
if [ -e "$pc1/Tolvik.exe" ]; then
  pending=$(wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
    /v PendingFileRenameOperations 2>/dev/null | tr -d '\r')
  grep -qiF "$program_win" <<<"$pending" ||
    fail "Tolvik.exe is neither deleted nor registered for deletion at the next start: $pending"
  log "Tolvik.exe outlived the del lines and is registered for deletion at the next start"
else
  log "the batch file deleted Tolvik.exe"
fi

# --- 3. /IP: with a named server: only that server, its list is shown, nothing applied ------------
log "/IP: with a named server"
pc2=$(make_pc pc2)
start_tolvik "$pc2" /IP:192.0.2.2
settle named 90
driver wait-window 5000 click 5 wait-gone 30000 || fail "the /IP: run did not wait for the user"
printf 'tftp 192.0.2.2 get mac.ini\ntftp 192.0.2.2 get icd.ini\n' >"$work/named.expected"
expect_records "$pc2" "$work/named.expected" "/IP: run"
printf '计算机名将改为: PC-031\r\n工作组将改名为: NAMED\r\n\r\n“本地连接 2”所在网卡的配置将改为: \r\n      IP: 192.0.2.31\r\n子网掩码: 255.255.0.0\r\n     DNS: DHCP 自动指派\r\n' |
  gbk >"$work/named.summary"
expect_info named "$work/named.summary"
[ -f "$pc2/mac.ini" ] && [ ! -e "$pc2/icd.ini" ] || fail "/IP: run: wrong files in the program directory"

# --- 4. Servers that deliver nothing: the named one, and the DHCP server with /N /A ---------------
log "servers that deliver nothing"
pc3=$(make_pc pc3)
start_tolvik "$pc3" /IP:192.0.2.3
settle empty-named 90
driver wait-window 5000 click 5 wait-gone 30000 ||
  fail "the run against an empty server did not wait for the user"
expect_info empty-named "$work/missing.gbk"
printf 'tftp 192.0.2.3 get mac.ini\ntftp 192.0.2.3 get icd.ini\n' >"$work/empty-named.expected"
expect_records "$pc3" "$work/empty-named.expected" "empty named server"
# Unattended (/N /A): no list, so it waits to try again, showing the seconds left; closed by the
# user meanwhile, it stops waiting, and a task asks the next logon to try again.
reg_add "$tcpip" /v DHCPServer /t REG_SZ /d 192.0.2.3
pc4=$(make_pc pc4)
clear_runonce
printf '未能获取配置文件，稍后重试，还剩 ' | gbk >"$work/waiting.gbk"
start_tolvik "$pc4" /N /A /K
wait_info_prefix empty-dhcp "$work/waiting.gbk" 90
driver wait-window 5000 click 5 wait-gone 30000 ||
  fail "/N /A against an empty DHCP server did not close when asked while waiting"
printf 'tftp 192.0.2.3 get mac.ini\ntftp 192.0.2.3 get icd.ini\n%s\n' "$task_create_line" |
  gbk >"$work/empty-dhcp.expected"
expect_records "$pc4" "$work/empty-dhcp.expected" "empty DHCP server"
[ -f "$pc4/Tolvik.exe" ] || fail "/K without an apply deleted the program"
expect_task "empty DHCP server" "$pc4" "/N /A /K"
reg_add "$tcpip" /v DHCPServer /t REG_SZ /d 192.0.2.1

# --- 5. A tftp that hangs: Tolvik ends it after 12 s, does not ask for icd.ini, goes on ----------
log "a tftp that hangs (12 seconds)"
pc5=$(make_pc pc5)
printf 'mac.ini' >"$(stand_in_dir "$prefix")/tftp-hang.txt"
started=$(date +%s)
start_tolvik "$pc5" /IP:192.0.2.2
settle hang 180
waited=$(($(date +%s) - started))
[ "$waited" -ge 11 ] || fail "Tolvik went on after ${waited}s, before the 12-second limit"
[ "$waited" -le 60 ] || fail "Tolvik waited ${waited}s for a hung tftp"
expect_info hang "$work/missing.gbk"
printf 'tftp 192.0.2.2 get mac.ini\n' >"$work/hang.expected"
expect_records "$pc5" "$work/hang.expected" "hung tftp"
# Wine shows a process under its Windows command line; the hung one must be gone.
for _ in $(seq 50); do
  hung=
  for pid in $(pgrep -f '^tftp 192\.0\.2\.2 get mac\.ini'); do
    [ "$(ip netns identify "$pid")" = "$ns" ] && hung=$pid
  done
  [ -z "$hung" ] && break
  sleep 0.1
done
[ -z "$hung" ] || fail "the hung tftp was left running after its time"
driver wait-window 5000 click 5 wait-gone 30000 || fail "the window did not close after the hang"
rm -f "$(stand_in_dir "$prefix")/tftp-hang.txt"

# --- 6. The fetch button with an empty address box: DHCP first, then the DHCP server --------------
log "fetch button with an empty address box"
pc6=$(make_pc pc6)
cp "$work/srv2/mac.ini" "$pc6/mac.ini"  # an older list: its entry names the target connection
start_tolvik "$pc6"
settle button-before 60
grep -qa "PC-031" "$work/button-before.info" || fail "the summary before the fetch lacks PC-031"
driver wait-window 5000 click 13 || fail "fetch button"
for _ in $(seq 600); do
  [ "$(wc -l <"$(stand_in_log "$prefix")" 2>/dev/null)" = 3 ] && break
  sleep 0.1
done
sleep 1
settle button 90
driver wait-window 5000 click 5 wait-gone 30000 ||
  fail "the window did not stay open after the fetch button"
{
  printf 'netsh  interface ip set address "本地连接 2" DHCP \n'
  printf 'tftp 192.0.2.1 get mac.ini\ntftp 192.0.2.1 get icd.ini\n'
} | gbk >"$work/button.expected"
expect_records "$pc6" "$work/button.expected" "fetch button"
grep -qa "PC-021" "$work/button.info" ||
  fail "the summary after the fetch button lacks PC-021: $(iconv -f GBK -t UTF-8 "$work/button.info")"

# --- 7. No tftp at all: Tolvik reads the files over TFTP itself ----------------------------------
# The PC has no tftp.exe anywhere Windows would look for it: not in the system directory, not
# beside Tolvik, not in the current directory, not in Wine. Both files must arrive byte for byte
# from the real tftpd-hpa, by /IP: and by the DHCP server of /N; a server without mac.ini leaves
# no file behind.
own_tftp_client() {
  local pc label
  remove_stand_in "$prefix" tftp.exe
  for f in "$prefix"/drive_c/windows/system32/tftp.exe "$prefix"/drive_c/windows/syswow64/tftp.exe \
    /usr/lib/*/wine/*-windows/tftp.exe /usr/lib/wine/*-windows/tftp.exe "$work/tftp.exe"; do
    [ -e "$f" ] && fail "a tftp.exe is where Tolvik would find it: $f"
  done
  for label in own-named own-dhcp; do
    log "no tftp: Tolvik's own client, $label"
    pc=$(make_pc "$label")
    if [ "$label" = own-named ]; then start_tolvik "$pc" /IP:192.0.2.1; else start_tolvik "$pc" /N; fi
    settle "$label" 90
    driver wait-window 5000 click 5 wait-gone 30000 || fail "$label: the window did not wait for the user"
    cmp -s "$pc/mac.ini" "$work/srv1/mac.ini" || fail "$label: mac.ini did not arrive byte for byte"
    cmp -s "$pc/icd.ini" "$work/srv1/icd.ini" || fail "$label: icd.ini did not arrive byte for byte"
    # The summary of this PC's line, with the ICD servers only icd.ini names.
    grep -qa "PC-021" "$work/$label.info" && grep -qa "192.0.2.101" "$work/$label.info" ||
      fail "$label: the summary lacks PC-021 or the ICD servers: $(od -An -c "$work/$label.info" | head -5)"
    records "$pc"
    [ ! -e "$pc/commands.log" ] || fail "$label: a command ran: $(cat "$pc/commands.log")"
  done
  log "no tftp: a server without mac.ini"
  pc=$(make_pc own-empty)
  start_tolvik "$pc" /IP:192.0.2.3
  settle own-empty 90
  driver wait-window 5000 click 5 wait-gone 30000 || fail "own-empty: the window did not wait for the user"
  expect_info own-empty "$work/missing.gbk"
  local left
  left=$(cd "$pc" && ls | grep -v -x -e Tolvik.exe -e tolvik.out)
  [ -z "$left" ] || fail "own-empty: files left in the program directory: $left"
  install_stand_ins "$prefix" tftp.exe
}
own_tftp_client

# --- 8. No wmic on the PC: the join goes through NetJoinDomain ------------------------------------
# wbem\wmic.exe is gone from the system directory (the stand-in had taken the place of Wine's
# own); Wine has no NetJoinDomain, so the stand-in netapi32.dll there records the call. A
# netsh.exe and a netapi32.dll planted beside Tolvik, copies of the stand-ins, would leave their
# records there (the DLL already when loaded): an elevated Tolvik must run neither.
log "no wmic: NetJoinDomain for the workgroup and for the domain; nothing planted beside Tolvik runs"
remove_stand_in "$prefix" wmic.exe
join_without_wmic() {  # join_without_wmic CASE [Config lines...]: /A with mac.ini beside Tolvik
  local case=$1 dir=$work/$1
  shift
  mkdir -p "$dir"
  cp "$WIN_BUILD/Tolvik.exe" "$WIN_BUILD/netsh.exe" "$WIN_BUILD/netapi32.dll" "$dir/"
  crlf "[Config]" "Gateway=" "DNS1=192.0.2.53" "$@" "[list]" "$mac_text=192.0.2.41,PC-041" |
    gbk >"$dir/mac.ini"
  (cd "$work" && WINE_TIMEOUT=120 wine "$dir/Tolvik.exe" /A >"$dir/tolvik.out" 2>&1) ||
    fail "$case: Tolvik /A did not end by itself"
  [ ! -e "$dir/commands.log" ] || fail "$case: a file planted beside Tolvik ran: $(cat "$dir/commands.log")"
  {
    printf 'netsh  interface ip set address "本地连接 2" static 192.0.2.41 255.255.255.0\n'
    printf 'netsh  interface ip set dns "本地连接 2" static none\n'
    printf 'netsh  interface ip add dns "本地连接 2" 192.0.2.53\n'
    printf '%s\n' "$(cat "$work/$case.join")"
    printf 'schtasks /delete /tn Tolvik /f\n'
  } | gbk >"$work/$case.expected"
  expect_records "$dir" "$work/$case.expected" "$case"
}
# GBK texts on the way in: they reach NetJoinDomain as the same characters in UTF-16.
echo 'NetJoinDomain(NULL, "工作组", NULL, NULL, NULL, 0)' >"$work/join-workgroup.join"
join_without_wmic join-workgroup "WorkGroup=工作组" "Domain=IGNORED.EXAMPLE"
# The password reaches NetJoinDomain intact (the stand-in refuses any other) and no record.
printf '%s\n' 'NetGetJoinInformation(NULL)' \
  'NetJoinDomain(NULL, "corp.example", NULL, "CORP\管理员", "***", 1027)' >"$work/join-domain.join"
export NETAPI_PASSWORD='p@ss 1'
join_without_wmic join-domain "Domain=corp.example" "Username=CORP\管理员" "password=p@ss 1"
unset NETAPI_PASSWORD
grep -aqF 'p@ss 1' "$work/join-domain/commands.log" && fail "join-domain: the password was recorded"
install_stand_ins "$prefix" wmic.exe

# --- 9. NetJoinDomain's status is read: a refused domain join keeps the window, the list and Tolvik -
log "a refused domain join (NetJoinDomain 1326); the password on no command line"
pc9=$(make_pc refused)
domain_list() {  # domain_list DIR [NAME]: a list that joins corp.example, no gateway or DNS
  crlf "[Config]" "Gateway=" "DNS1=" "Domain=corp.example" "Username=joiner" "password=Pw-s3cret" \
    "[list]" "$mac_text=192.0.2.51,${2:-PC-051}" >"$1/mac.ini"
}
domain_list "$pc9"
clear_runonce
rm -f "$task_copy"
(cd "$work" && export NETAPI_PASSWORD=another &&
  wine "$pc9/Tolvik.exe" /A /K /IP:192.0.2.3 >"$pc9/tolvik.out" 2>&1 &)
settle refused 90
# The task is made right after the failure text is shown.
for _ in $(seq 100); do [ -f "$task_copy" ] && break; sleep 0.2; done
records "$pc9"
printf '修改未全部完成：\r\n加入域失败，错误代码 1326（用户名或密码不正确）。' | gbk >"$work/refused.gbk"
expect_info refused "$work/refused.gbk"
join_line=$(grep -a '^NetJoinDomain' "$pc9/commands.log" | tail -n 1)
[ "$join_line" = 'NetJoinDomain(NULL, "corp.example", NULL, "joiner", "***", 1027)' ] ||
  fail "the domain join on Windows 10 is not NetJoinDomain with 1027: $(cat "$pc9/commands.log")"
grep -aq -e '^wmic' -e 'Pw-s3cret' "$pc9/commands.log" &&
  fail "a domain join started wmic or put the password on a command line: $(cat "$pc9/commands.log")"
[ "$(tail -n 1 "$pc9/commands.log")" = "$task_create_line" ] || fail "a refused join made no task: $(tail -n 1 "$pc9/commands.log")"
expect_task "refused join" "$pc9" "/A /K /IP:192.0.2.3"
[ -z "$(runonce_value)" ] || fail "a refused join wrote RunOnce again: $(runonce_value)"
driver wait-window 5000 click 5 wait-gone 30000 || fail "refused join: the window did not close"
[ -f "$pc9/mac.ini" ] && [ -f "$pc9/Tolvik.exe" ] || fail "/K deleted files after a refused join"

xp=winxp64
[ "$E2E_ARCH" = i686 ] && xp=winxp
reg_add 'HKCU\Software\Wine\AppDefaults\Tolvik.exe' /v Version /t REG_SZ /d "$xp"
log "Windows XP: a list without this PC's line leaves the Run value, a finished run removes it"
pc_xp=$(make_pc winxp-next)
crlf "[Config]" "Gateway=" "DNS1=" "WorkGroup=WG" "[list]" "0200C0000242=192.0.2.22,PC-022" >"$pc_xp/mac.ini"
(cd "$work" && wine "$pc_xp/Tolvik.exe" /A /K >"$pc_xp/tolvik.out" 2>&1 &)
settle xp-no-line 90
driver wait-window 5000 click 5 wait-gone 30000 || fail "XP, no line: the window did not wait for the user"
want="\"$(winpath "$pc_xp/Tolvik.exe")\" /A /K"
[ "$(run_value)" = "$want" ] || fail "XP, no line: Run value [$(run_value)], want [$want]"
[ -z "$(runonce_value)" ] || fail "XP, no line: RunOnce was written again: $(runonce_value)"
crlf "[Config]" "Gateway=" "DNS1=" "WorkGroup=WG" "[list]" "$mac_text=192.0.2.61,PC-061" >"$pc_xp/mac.ini"
(cd "$work" && WINE_TIMEOUT=120 wine "$pc_xp/Tolvik.exe" /A >"$pc_xp/tolvik.out" 2>&1) ||
  fail "XP, finished: Tolvik /A did not end by itself"
records "$pc_xp"
[ -z "$(run_value)" ] || fail "XP, finished: the Run value stayed: $(run_value)"
grep -aq schtasks "$pc_xp/commands.log" && fail "XP: schtasks ran: $(cat "$pc_xp/commands.log")"

# Windows XP joins under the name it runs as: with the list's name not yet in effect the join
# waits for the restart (no join, the list kept, the Run value for the next logon); with the
# name in effect it joins with FJoinOptions=3.
log "Windows XP: the domain join waits for the new name, then uses FJoinOptions=3"
pc10=$(make_pc winxp-pending)
domain_list "$pc10"
start_tolvik "$pc10" /A /K /IP:192.0.2.3
settle winxp-pending 90
driver wait-window 5000 click 5 wait-gone 30000 || fail "Windows XP, pending join: the window did not wait"
records "$pc10"
printf '计算机名将在重启后生效，重启后加入域 corp.example。' | gbk >"$work/winxp-pending.gbk"
expect_info winxp-pending "$work/winxp-pending.gbk"
grep -aq '^NetJoinDomain' "$pc10/commands.log" && fail "Windows XP joined before the restart"
[ -f "$pc10/mac.ini" ] || fail "Windows XP, pending join: /K deleted the list"
want="\"$(winpath "$pc10/Tolvik.exe")\" /A /K /IP:192.0.2.3"
[ "$(run_value)" = "$want" ] || fail "a pending join did not ask for the next logon: [$(run_value)], want [$want]"
pc10=$(make_pc winxp)
domain_list "$pc10" "$current_name"
(cd "$work" && WINE_TIMEOUT=120 wine "$pc10/Tolvik.exe" /A >"$pc10/tolvik.out" 2>&1) ||
  fail "Windows XP: Tolvik /A did not end by itself"
records "$pc10"
wine reg delete 'HKCU\Software\Wine\AppDefaults\Tolvik.exe' /f >/dev/null 2>&1
[ "$(tail -n 1 "$pc10/commands.log")" = 'NetJoinDomain(NULL, "corp.example", NULL, "joiner", "***", 3)' ] ||
  fail "the domain join on Windows XP is not NetJoinDomain with 3: $(tail -n 1 "$pc10/commands.log")"

# --- 10. Outcomes as Windows gives them ------------------------------------------------------------
# apply_beside LABEL [Config lines...] -- ENTRY: mac.ini beside a fresh Tolvik, this PC's entry.
apply_beside() {
  local dir=$work/$1 lines=()
  shift
  while [ "$1" != -- ]; do lines+=("$1"); shift; done
  mkdir -p "$dir"
  cp "$WIN_BUILD/Tolvik.exe" "$dir/"
  crlf "[Config]" "Gateway=" "${lines[@]}" "[list]" "$mac_text=$2" >"$dir/mac.ini"
  echo "$dir"
}
log "an adapter that has DHCP already, and the same DNS server twice: done"
stand_in_dhcp_on "$prefix"  # the adapter's key says EnableDHCP=1 (set above)
pc=$(apply_beside dhcp-on "DNS1=192.0.2.53" "DNS2=192.0.2.53" "WorkGroup=WORKGROUP" -- dhcp,PC-061)
(cd "$work" && WINE_TIMEOUT=120 wine "$pc/Tolvik.exe" /A /K >"$pc/tolvik.out" 2>&1) ||
  fail "DHCP on: Tolvik /A /K did not end by itself"
stand_in_dhcp_off "$prefix"
{
  printf 'netsh  interface ip set address "本地连接 2" DHCP \n'
  printf 'netsh  interface ip set dns "本地连接 2" static none\n'
  printf 'netsh  interface ip add dns "本地连接 2" 192.0.2.53\n'
  printf 'wmic  computersystem where Name="%s" call JoinDomainOrWorkgroup Name="WORKGROUP"\n' \
    "$current_name"
  printf 'schtasks /delete /tn Tolvik /f\n'
} | gbk >"$work/dhcp-on.expected"
expect_records "$pc" "$work/dhcp-on.expected" "DHCP on"
[ ! -e "$pc/mac.ini" ] || fail "DHCP on: /K kept the list of a run that applied everything"

log "wmic finds no instance: a failed step with what wmic said"
pc=$(apply_beside no-instance "DNS1=" "WorkGroup=WORKGROUP" -- 192.0.2.62,PC-062)
(cd "$work" && export WMIC_NO_INSTANCE=1 && wine "$pc/Tolvik.exe" /A /K >"$pc/tolvik.out" 2>&1 &)
settle no-instance 90
driver wait-window 5000 click 5 wait-gone 30000 || fail "no instance: the window did not wait"
records "$pc"
printf '修改未全部完成：\r\n加入工作组失败（No Instance(s) Available.）。' | gbk >"$work/no-instance.gbk"
expect_info no-instance "$work/no-instance.gbk"
[ -f "$pc/mac.ini" ] || fail "no instance: /K deleted the list"

log "a PC in its domain under the list's name: done without a join"
pc=$(apply_beside in-domain "DNS1=" "Domain=corp.example" "Username=joiner" "password=x" -- \
  "192.0.2.63,$current_name")
(cd "$work" && export NETAPI_JOINED=CORP && WINE_TIMEOUT=120 wine "$pc/Tolvik.exe" /A /K \
  >"$pc/tolvik.out" 2>&1) || fail "in the domain: Tolvik /A /K did not end by itself"
{
  printf 'netsh  interface ip set address "本地连接 2" static 192.0.2.63 255.255.255.0\n'
  printf 'NetGetJoinInformation(NULL)\n'
  printf 'schtasks /delete /tn Tolvik /f\n'
} | gbk >"$work/in-domain.expected"
expect_records "$pc" "$work/in-domain.expected" "in the domain"
[ ! -e "$pc/mac.ini" ] || fail "in the domain: /K kept the list"

log "a one-time password from section [Join]: the PC's own account, no user account"
one_time=Qx7pR2mK9vT4wY6zA8bC1dE3
pc=$(apply_beside one-time "DNS1=" "Domain=corp.example" "Username=joiner" "password=x" -- \
  192.0.2.64,PC-064)
crlf "[Join]" "$mac_text=$one_time" >>"$pc/mac.ini"
(cd "$work" && export NETAPI_PASSWORD=$one_time && WINE_TIMEOUT=120 wine "$pc/Tolvik.exe" /A /K \
  >"$pc/tolvik.out" 2>&1) || fail "one-time password: Tolvik /A /K did not end by itself"
{
  printf 'netsh  interface ip set address "本地连接 2" static 192.0.2.64 255.255.255.0\n'
  printf 'NetGetJoinInformation(NULL)\n'
  printf 'NetJoinDomain(NULL, "corp.example", NULL, NULL, "***", 1217)\n'
  printf 'schtasks /delete /tn Tolvik /f\n'
} | gbk >"$work/one-time.expected"
# The stand-in answers 1326 to any other password: a finished run shows it got this one.
expect_records "$pc" "$work/one-time.expected" "one-time password"
[ ! -e "$pc/mac.ini" ] || fail "one-time password: /K kept the list"

# --- 11. Vista and later: the DHCP server only under Tcpip\Parameters\Interfaces -----------------
log "/N with the DHCP server named only under Tcpip\\Parameters\\Interfaces"
wine reg delete "$tcpip" /v DHCPServer /f >/dev/null 2>&1
reg_add "$tcpip" /v EnableDHCP /t REG_DWORD /d 0
interfaces="HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\$guid"
reg_add "$interfaces" /v EnableDHCP /t REG_DWORD /d 1
reg_add "$interfaces" /v DhcpServer /t REG_SZ /d 192.0.2.1
pc11=$(make_pc interfaces)
start_tolvik "$pc11" /N
settle interfaces 90
driver wait-window 5000 click 5 wait-gone 30000 || fail "interfaces: the window did not wait for the user"
printf 'tftp 192.0.2.1 get mac.ini\ntftp 192.0.2.1 get icd.ini\n' >"$work/interfaces.expected"
expect_records "$pc11" "$work/interfaces.expected" "DHCP server from the Interfaces key"
grep -qa "PC-021" "$work/interfaces.info" || fail "interfaces: the summary lacks PC-021"

pass
