#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CI stage: the test suite built with a sanitizer, named by its preset: asan (AddressSanitizer
# and UndefinedBehaviorSanitizer, every test) or tsan (ThreadSanitizer, the tests that drive
# the writer's threads and the logger). Reports go to files, so one from a program a test
# starts (and kills) is not lost; any report fails the stage, even when every test passed.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:?usage: scripts/ci-sanitizer.sh asan|tsan}"

reports="$(mktemp -d)"
trap 'rm -rf "$reports"' EXIT
scripts/install-deps.sh
case "$preset" in
  asan)
    export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:halt_on_error=1"
    export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1"
    ;;
  tsan) export TSAN_OPTIONS="log_path=$reports/tsan:halt_on_error=1:second_deadlock_stack=1" ;;
  *) echo "ci-sanitizer: unknown preset $preset (asan or tsan)" >&2; exit 2 ;;
esac

cmake --preset "$preset"
cmake --build --preset "$preset"
status=0
ctest --preset "$preset" || status=$?

if compgen -G "$reports/*" >/dev/null; then
  echo "Sanitizer reports:" >&2
  for f in "$reports"/*; do
    echo "---- $f" >&2
    cat "$f" >&2
  done
  exit 1
fi
exit "$status"
