#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing (the board's udev rule too), builds the logger and starts it on
# this display. Options go to the program: ./run.sh --record
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/install-udev-rule.sh
cmake --preset release >/dev/null
cmake --build --preset release
case " $* " in
  *" --headless "* | *" --help "* | *" --version "* | *" --export "*) ;;
  *)
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "orvalin : aucun écran graphique (ni DISPLAY ni WAYLAND_DISPLAY) : lancez-le depuis une session de bureau, ou sans fenêtre avec --headless --record." >&2
      exit 1
    fi
    ;;
esac
exec build/release/src/app/orvalin "$@"
