#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CI stage: the whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
# Reports go to files, so one from a program a test starts (and kills) is not lost;
# any report fails the stage, even when every test passed.
set -euo pipefail
cd "$(dirname "$0")/.."

reports="$(mktemp -d)"
trap 'rm -rf "$reports"' EXIT
scripts/install-deps.sh
export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:halt_on_error=1"
export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1"

cmake --preset asan
cmake --build --preset asan
status=0
ctest --preset asan || status=$?

if compgen -G "$reports/*" >/dev/null; then
  echo "Sanitizer reports:" >&2
  for f in "$reports"/*; do
    echo "---- $f" >&2
    cat "$f" >&2
  done
  exit 1
fi
exit "$status"
