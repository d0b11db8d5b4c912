#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lets a normal user at the seat read the K8055 board (the kernel gives it no hidraw node):
# installs the udev rule when run as root on a machine with udev; says what to do otherwise.
set -euo pipefail
rule="$(dirname "$0")/../packaging/udev/70-k8055.rules"
target=/etc/udev/rules.d/70-k8055.rules
[ -f "$rule" ] && [ -d /etc/udev/rules.d ] || exit 0
cmp -s "$rule" "$target" 2>/dev/null && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Pour lire la carte K8055 sans être root : sudo install -m 0644 packaging/udev/70-k8055.rules $target"
  exit 0
fi
install -m 0644 "$rule" "$target"
if command -v udevadm >/dev/null 2>&1; then
  udevadm control --reload >/dev/null 2>&1 || true
fi
echo "Règle udev de la carte K8055 installée dans $target : débranchez et rebranchez la carte."
