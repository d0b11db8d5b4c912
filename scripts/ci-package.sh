#!/usr/bin/env bash
# CI stage: the .deb round trip, after ./test.sh has built build/ci. Makes the package,
# checks its desktop entry and metainfo, installs it with apt, starts the installed
# program offscreen for a smoke check and removes it again.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/ci

scripts/install-deps.sh desktop-file-utils appstream
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

out="$(mktemp -d)"
home="$(mktemp -d)"
runtime="$(mktemp -d)"
chmod 700 "$runtime"
installed() { dpkg-query -W -f='${Status}' orvalin 2>/dev/null | grep -q 'install ok installed'; }
cleanup() {
  if installed; then "${sudo[@]}" apt-get remove -y -qq orvalin >/dev/null || true; fi
  rm -rf "$out" "$home" "$runtime"
}
trap cleanup EXIT

cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log" >&2; exit 1; }
deb="$(ls "$out"/orvalin_*_*.deb)"
echo "package: $(basename "$deb")"
echo "depends: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || { echo "no Qt Widgets in Depends" >&2; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'libusb-1.0-0' || { echo "no libusb in Depends" >&2; exit 1; }
desktop-file-validate packaging/orvalin.desktop
appstreamcli validate --no-net "$build"/packaging/*.metainfo.xml

# A copy left by an interrupted run would hide a broken install.
if installed; then "${sudo[@]}" apt-get remove -y -qq orvalin >/dev/null; fi
(cd "$out" && "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends ./orvalin_*.deb >/dev/null)
for f in /usr/bin/orvalin /usr/share/applications/orvalin.desktop /usr/share/icons/hicolor/48x48/apps/orvalin.png \
         /usr/share/icons/hicolor/scalable/apps/orvalin.svg /usr/share/metainfo/*.metainfo.xml \
         /usr/lib/udev/rules.d/70-k8055.rules /usr/lib/systemd/user/orvalin-headless.service; do
  [ -e "$f" ] || { echo "missing after install: $f" >&2; exit 1; }
done

# Smoke check, as a fresh user with an empty home, from PATH, with nothing of the build:
# the window opens offscreen and records at once, and a SIGTERM ends it cleanly.
version="$(env -i PATH=/usr/bin:/bin HOME="$home" orvalin --version)"
echo "installed: $version"
work="$(mktemp -d)"
# Its own lock folder: a copy of the logger running on this machine must not refuse it.
(cd "$work" && exec env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime" ORVALIN_LOCK_ROOT="$runtime" QT_QPA_PLATFORM=offscreen \
   orvalin --record 2>"$out/stderr") &
pid=$!
lines() { if [ -f "$work/data_tr.csv" ]; then wc -l <"$work/data_tr.csv"; else echo 0; fi; }
for _ in $(seq 50); do
  [ "$(lines)" -ge 2 ] && break
  sleep 0.2
done
kill -TERM "$pid"
wait "$pid" || { echo "the installed program ended with code $?:" >&2; cat "$out/stderr" >&2; exit 1; }
[ "$(lines)" -ge 2 ] ||
  { echo "the installed program recorded nothing:" >&2; cat "$out/stderr" >&2; exit 1; }
settings="$(find "$home/.config" -name orvtr.cfg 2>/dev/null | head -n1)"
[ -n "$settings" ] || { echo "no settings file in the user's configuration folder" >&2; exit 1; }
printf '"NE PAS MODIFIER CE FICHIER","data_tr.csv",1,0,3600\r\n' | cmp -s - "$settings" ||
  { echo "settings file $settings is not the first-start defaults" >&2; exit 1; }
[ ! -e /usr/bin/orvtr.cfg ] || { echo "the installed copy wrote its settings in /usr/bin" >&2; exit 1; }
echo "installed program: recorded, settings in ${settings#"$home"/}, ended on SIGTERM"
rm -rf "$work"

"${sudo[@]}" apt-get remove -y -qq orvalin >/dev/null
[ ! -e /usr/bin/orvalin ] || { echo "/usr/bin/orvalin still there after removal" >&2; exit 1; }
echo "package removed"
