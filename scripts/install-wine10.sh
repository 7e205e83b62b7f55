#!/usr/bin/env bash
# Builds the Debian sid chroot whose Wine 10 (new WoW64 mode) runs the i686 programs in a 64-bit
# process, since this machine's kernel cannot start 32-bit ELF programs. Run as root; skips
# everything once the chroot is complete. tests/wine/wine10.sh runs wine inside it.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

root=${WINE10_CHROOT:-/opt/tolvik-wine10}
marker="$root/.tolvik-wine10-ready"
[ -f "$marker" ] && exit 0

# The same Debian mirror this machine's own apt sources name.
mirror=$(grep -hoE '^URIs: *[^ ]+/debian/?$' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n1 | awk '{print $2}')
[ -n "$mirror" ] || mirror=$(grep -hoE '^deb +[^ ]+/debian/? ' /etc/apt/sources.list 2>/dev/null | head -n1 | awk '{print $2}')
[ -n "$mirror" ] || { echo "install-wine10: no Debian mirror in the apt sources" >&2; exit 1; }

command -v debootstrap >/dev/null || { apt-get update -q; apt-get install -y -q --no-install-recommends debootstrap </dev/null; }

# A half-made chroot from an interrupted run is started afresh; it must hold no bind mounts.
if [ -d "$root" ]; then
  if grep -q " $root/" /proc/mounts; then
    echo "install-wine10: $root has mounts; run tests/wine/wine10.sh --unmount first" >&2; exit 1
  fi
  rm -rf --one-file-system "$root"
fi

debootstrap --variant=minbase sid "$root" "$mirror" </dev/null
# The mirror's sid Release file can be past its Valid-Until date.
echo 'Acquire::Check-Valid-Until "false";' > "$root/etc/apt/apt.conf.d/99no-valid-until"

mount_chroot_system() { mount --bind /proc "$root/proc"; mount --bind /dev "$root/dev"; }
unmount_chroot_system() { umount "$root/dev" 2>/dev/null || true; umount "$root/proc" 2>/dev/null || true; }
trap unmount_chroot_system EXIT
mount_chroot_system
chroot "$root" apt-get update -q </dev/null
chroot "$root" apt-get install -y -q --no-install-recommends wine wine64 locales fonts-wqy-zenhei </dev/null
echo 'zh_CN.UTF-8 UTF-8' > "$root/etc/locale.gen"
chroot "$root" locale-gen </dev/null >/dev/null
chroot "$root" apt-get clean
unmount_chroot_system
trap - EXIT

# Present only in the WoW64 build, which runs 32-bit PE code without 32-bit Linux libraries.
if [ ! -f "$root/usr/lib/x86_64-linux-gnu/wine/i386-windows/ntdll.dll" ]; then
  echo "install-wine10: the chroot's Wine has no i386-windows ntdll.dll (not a WoW64 build)" >&2
  exit 1
fi
touch "$marker"
echo "install-wine10: Wine 10 ready in $root"
