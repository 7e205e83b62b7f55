#!/usr/bin/env bash
# Installs every tool the builds and tests need on a fresh Debian machine (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-utils imagemagick locales fonts-wqy-zenhei
  tftpd-hpa iproute2 procps ccache debootstrap unzip chromium
  dnsmasq-base isc-dhcp-server kea-dhcp4-server isc-dhcp-client
  samba samba-ad-dc samba-ad-provision krb5-user
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "installing: ${missing[*]}"
  apt-get update -q
  # The DHCP servers and Samba must not start as system services: the tests run their own, by hand, in
  # their own namespaces. A policy that refuses every start holds during the install.
  policy=/usr/sbin/policy-rc.d
  own_policy=0
  if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' >"$policy" && chmod +x "$policy" && own_policy=1
  fi
  status=0
  apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null || status=$?
  [ $own_policy = 0 ] || rm -f "$policy"
  [ $status = 0 ] || exit $status
fi

# The Chinese locale lets Wine show GBK texts as Chinese.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi

# Wine 10 (WoW64) in a Debian sid chroot, for the i686 programs.
bash "$(dirname "$0")/install-wine10.sh"

# The packaged TFTP server must not run as a system service: tests start their own on loopback.
if command -v service >/dev/null 2>&1; then service tftpd-hpa stop >/dev/null 2>&1 || true; fi
pkill -x in.tftpd 2>/dev/null || true
# Nor the DHCP servers (dnsmasq-base brings no service), should an init system have started
# them after all.
# The same for Samba: the domain test provisions and runs its own domain controller.
for unit in isc-dhcp-server kea-dhcp4-server samba-ad-dc smbd nmbd winbind; do
  if command -v systemctl >/dev/null 2>&1 && [ -d /run/systemd/system ]; then
    systemctl disable --now "$unit" >/dev/null 2>&1 || true
  elif command -v service >/dev/null 2>&1; then
    service "$unit" stop >/dev/null 2>&1 || true
  fi
done
exit 0
