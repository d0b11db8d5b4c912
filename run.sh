#!/usr/bin/env bash
# Installs what is missing, builds the logger and starts it on this display.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "orvalin: aucun écran graphique (ni DISPLAY ni WAYLAND_DISPLAY) : lancez-le depuis une session de bureau." >&2
  exit 1
fi
exec build/release/src/app/orvalin
