#!/usr/bin/env bash
# Takes the guide's pictures into docs/images/ (run as root: it makes a network namespace):
#   brevane-generated.png  Brevane after "生成列表"
#   tolvik-summary.png     Tolvik showing what it will change on this PC
#   tolvik-finished.png    Tolvik after "修改完毕。"
# The x86_64 build runs under Wine on an Xvfb display, in a namespace whose adapter carries the MAC
# that the list names, as in the end-to-end tests; each picture is cropped to its window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win64=${WIN64_BUILD:-$root/build/win64}
images=$root/docs/images
ns=tolvik-shots-$$
mac=00:e0:fd:3a:1b:01
mac_text=00E0FD3A1B01
prefix=/tmp/tolvik-wine/shots-$$
work=$(mktemp -d /tmp/tolvik-shots.XXXXXX)
xvfb_pid=

cleanup() {
  if [ -d "$prefix" ]; then
    ip netns exec "$ns" env WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  ip netns del "$ns" 2>/dev/null || true
  rm -rf "$prefix" "$work"
}
trap cleanup EXIT

for exe in Tolvik.exe Brevane.exe brevane_driver.exe tolvik_driver.exe tolvik_finished.exe netsh.exe wmic.exe; do
  [ -f "$win64/$exe" ] || { JOBS=${JOBS:-2} "$root/scripts/build.sh" win64; break; }
done
mkdir -p "$images"

ip netns add "$ns"
ip -n "$ns" link set lo up
ip -n "$ns" link add sh0 address "$mac" type veth peer name sh1 address 02:00:c0:00:02:2b
ip -n "$ns" addr add 192.168.0.1/24 dev sh0
ip -n "$ns" link set sh0 up
ip -n "$ns" link set sh1 up
in_ns() { ip netns exec "$ns" "$@"; }

source "$root/tests/e2e/lib/free_display.sh"
display_number=$(free_display 140)
display=:$display_number
in_ns Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
for _ in $(seq 50); do [ -s "/tmp/.X$display_number-lock" ] && break; sleep 0.1; done
xvfb_pid=$(tr -d ' \n' <"/tmp/.X$display_number-lock")

wine_env=(env DISPLAY="$display" WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
          LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8)
wine() { in_ns "${wine_env[@]}" /usr/lib/wine/wine64 "$@" </dev/null; }
mkdir -p "$prefix"
in_ns "${wine_env[@]}" /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
wine wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
# The CJK font's bitmap face for the programs' fonts, as in the end-to-end tests: crisp 12-pixel text.
for font in Tahoma SimSun 宋体; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d 'WenQuanYi Zen Hei Sharp' /f >/dev/null 2>&1
done

# Wine draws the caption buttons with the Marlett font; without it they show as letters.
for marlett in /usr/share/wine/fonts/marlett.ttf /opt/tolvik-wine10/usr/share/wine/fonts/marlett.ttf; do
  [ -f "$marlett" ] && cp "$marlett" "$prefix/drive_c/windows/Fonts/" && break
done

# The screen cropped to the window (the root window around it is black), without time stamps,
# so that unchanged windows give unchanged files.
shoot() { sleep 1; in_ns env DISPLAY="$display" import -window root "$work/screen.png"; convert "$work/screen.png" -trim +repage -strip -define png:exclude-chunk=date,time "$images/$1"; }
winpath() { echo "Z:${1//\//\\}"; }

# 1. Brevane after the generation, as the guide's procedure has it: a TFTPD32 log of 50 PCs
#    switched on one after another, a workgroup, a start address that 50 PCs fit, plain names,
#    the rows in the order of the log. The driver waits at "after" until the marker's ".ok" exists.
mkdir -p "$work/brevane" "$work/stage"
cp "$win64/Brevane.exe" "$work/brevane/"
for n in $(seq 0 49); do
  printf 'Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:e0:4c:68:%02x:%02x [09/12 08:%02d:%02d.000]\r\n' \
    $((0x10 + n * 7 % 64)) $((n * 37 % 256)) $((10 + n * 20 / 60)) $((n * 20 % 60))
done >"$work/tftpd32.log"
(
  while [ ! -e "$work/stage/after" ]; do sleep 0.2; done
  shoot brevane-generated.png
  touch "$work/stage/after.ok"
) &
watcher=$!
wine "$win64/brevane_driver.exe" "$(winpath "$work/brevane/Brevane.exe")" picture \
  --tftpd-log "$(winpath "$work/tftpd32.log")" --stage-dir "$(winpath "$work/stage")" \
  >"$work/brevane.log" 2>&1 || true
kill "$watcher" 2>/dev/null || true
[ -f "$work/stage/after.ok" ] || { tr -d '\r' <"$work/brevane.log" | iconv -f GBK -t UTF-8 -c | tail; echo "no Brevane picture" >&2; exit 1; }

# 2. Tolvik showing the summary for this PC's line, the connection named 本地连接.
guid=$(wine "$win64/tolvik_driver.exe" adapters | tr -d '\r' | awk -v m="$mac_text" '$1 == "adapter" && $3 == m {print $2}')
[ -n "$guid" ] || { echo "Wine lists no adapter with MAC $mac_text" >&2; exit 1; }
wine reg add "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\$guid\\Connection" \
  /v Name /t REG_SZ /d "本地连接" /f >/dev/null 2>&1
mkdir -p "$work/pc"
cp "$win64/Tolvik.exe" "$win64/netsh.exe" "$win64/wmic.exe" "$work/pc/"
sed 's/$/\r/' "$root/docs/示例/mac.ini" | iconv -f UTF-8 -t GBK >"$work/pc/mac.ini"
(cd "$work/pc" && wine "$work/pc/Tolvik.exe" >/dev/null 2>&1 &)
wine "$win64/tolvik_driver.exe" wait-window 30000 >/dev/null
shoot tolvik-summary.png
wine "$win64/tolvik_driver.exe" wait-window 5000 key esc wait-gone 15000 >/dev/null

# 3. Tolvik after "修改完毕。": the real window with the apply run against recording fakes.
wine "$win64/tolvik_finished.exe" "$(winpath "$work/finished")" >"$work/finished.log" 2>&1 &
finished=$!
for _ in $(seq 300); do [ -e "$work/finished" ] && break; sleep 0.2; done
[ -e "$work/finished" ] || { cat "$work/finished.log"; echo "no finished window" >&2; exit 1; }
shoot tolvik-finished.png
touch "$work/finished.ok"
wait "$finished" || true
ls -l "$images"
