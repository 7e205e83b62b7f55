#!/usr/bin/env bash
# Runs a command inside the Wine 10 chroot (scripts/install-wine10.sh builds it), whose WoW64
# Wine runs the i686 programs: wine10.sh wine PROGRAM.exe ..., wine10.sh wineserver -k.
# Before the first command it bind-mounts /proc, /dev, /sys, /tmp and the repository (and
# $WINE10_BINDS, colon-separated) at the same paths inside, so every path a test names means the
# same file in and out. The mounts stay for the next commands; `wine10.sh --unmount` removes them
# at the end of the tests. The environment (WINEPREFIX, DISPLAY, LANG) passes through, and so
# does the network namespace of the caller (run it under `ip netns exec`).
set -euo pipefail
chroot_dir=${WINE10_CHROOT:-/opt/tolvik-wine10}
repo=$(cd "$(dirname "$0")/../.." && pwd)
lock=/run/tolvik-wine10.lock

bind_paths() {
  printf '%s\n' /proc /dev /sys /tmp "$repo"
  [ -n "${BUILD_ROOT:-}" ] && printf '%s\n' "$BUILD_ROOT"
  tr ':' '\n' <<<"${WINE10_BINDS:-}" | sed '/^$/d'
}

mounted() { mountpoint -q "$chroot_dir$1"; }

mount_all() {
  local path
  while read -r path; do
    [ -d "$path" ] || continue
    mounted "$path" && continue
    mkdir -p "$chroot_dir$path"
    mount --rbind "$path" "$chroot_dir$path"
    mount --make-rslave "$chroot_dir$path"
  done < <(bind_paths)
}

# Deepest first, each mount tree whole; lazily, so a process still ending cannot keep one.
unmount_all() {
  local target
  while read -r target; do
    umount -R -l "$target" 2>/dev/null || true
  done < <(awk -v d="$chroot_dir/" 'index($2, d) == 1 {print $2}' /proc/self/mounts | sort -r)
}

[ -f "$chroot_dir/.tolvik-wine10-ready" ] || {
  echo "wine10.sh: no Wine 10 chroot in $chroot_dir (run scripts/install-wine10.sh)" >&2; exit 127
}
if [ "${1:-}" = --unmount ]; then
  exec 9>"$lock"; flock 9
  unmount_all
  exit 0
fi
[ $# -gt 0 ] || { echo "usage: wine10.sh COMMAND [ARGS...] | --unmount" >&2; exit 2; }

# Mounting in the caller's mount namespace: under `ip netns exec` that is a private copy, whose
# mounts end with it; elsewhere the mounts stay until --unmount.
exec 9>"$lock"
flock 9
mount_all
flock -u 9
exec 9>&-

case "$1" in
  wineserver) shift; set -- /usr/lib/x86_64-linux-gnu/wine/wineserver "$@" ;;
esac
# chroot starts in "/": the command starts in the caller's directory instead. Without address-space
# randomisation, as for Wine 8 (tests/wine/wine8/wine).
exec setarch "$(uname -m)" -R chroot "$chroot_dir" /bin/sh -c 'cd "$1" 2>/dev/null || cd /; shift; exec "$@"' sh "$PWD" "$@"
