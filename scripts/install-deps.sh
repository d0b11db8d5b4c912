#!/usr/bin/env bash
# Installs the Debian packages the logger needs to build, run and test, and any package
# named on the command line (the CI stages add theirs).
# Does nothing when everything is present; uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev qt6-translations-l10n libgl-dev
  libhidapi-dev libusb-1.0-0-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-liberation
  "$@"
)

# Lets a normal user at the seat read the K8055 board (the kernel gives it no hidraw node).
install_udev_rule() {
  local rule="$(dirname "$0")/../packaging/udev/70-k8055.rules"
  local target=/etc/udev/rules.d/70-k8055.rules
  [ "$(id -u)" -eq 0 ] && [ -d /etc/udev/rules.d ] && [ -f "$rule" ] || return 0
  cmp -s "$rule" "$target" && return 0
  install -m 0644 "$rule" "$target"
  if command -v udevadm >/dev/null 2>&1; then
    udevadm control --reload >/dev/null 2>&1 || true
  fi
  echo "udev rule for the K8055 board installed in $target: unplug and replug the board."
}
install_udev_rule

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "Missing packages: ${missing[*]}; run this script as root or install sudo." >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
