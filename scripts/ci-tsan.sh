#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CI stage: the tests that drive the writer's threads and the logger, built with
# ThreadSanitizer. Reports go to files; any report fails the stage, even when every test
# passed.
set -euo pipefail
cd "$(dirname "$0")/.."

reports="$(mktemp -d)"
trap 'rm -rf "$reports"' EXIT
scripts/install-deps.sh
export TSAN_OPTIONS="log_path=$reports/tsan:halt_on_error=1:second_deadlock_stack=1"

cmake --preset tsan
cmake --build --preset tsan
status=0
ctest --preset tsan || status=$?

if compgen -G "$reports/*" >/dev/null; then
  echo "ThreadSanitizer reports:" >&2
  for f in "$reports"/*; do
    echo "---- $f" >&2
    cat "$f" >&2
  done
  exit 1
fi
exit "$status"
