#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CI stage: the fuzz targets of the settings reader and of the recording reader, the inputs
# that come from elsewhere, for a bounded time (FUZZ_SECONDS, 60 by default, each), from
# their committed corpus and the inputs that once failed. A crash, a hang (one input over
# 10 s), a sanitizer report or a broken check fails the stage and prints the input; add it
# to fuzz/regressions/<target>/ once fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"

scripts/install-deps.sh clang libclang-rt-14-dev

cmake --preset fuzz
cmake --build --preset fuzz

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
declare -A pids
for target in config recording; do
  mkdir -p "$work/$target"
  dict=()
  [ -f "fuzz/$target.dict" ] && dict=("-dict=fuzz/$target.dict")
  # New inputs go to the scratch folder (the first one); the committed ones are only read.
  inputs=("$work/$target")
  for dir in "fuzz/corpus/$target" "fuzz/regressions/$target"; do
    [ -d "$dir" ] && inputs+=("$dir")
  done
  "build/fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/$target-" "${dict[@]}" \
    "${inputs[@]}" >"$work/$target.log" 2>&1 &
  pids[$target]=$!
done

failed=0
for target in config recording; do
  if wait "${pids[$target]}"; then
    runs="$(grep -m1 'stat::number_of_executed_units' "$work/$target.log" | awk '{print $2}')"
    echo "fuzz_$target: ${runs:-?} inputs in ${seconds} s, no failure"
  else
    failed=1
    echo "fuzz_$target FAILED:" >&2
    tail -n 60 "$work/$target.log" >&2
    for artifact in "$work/$target"-*; do
      [ -f "$artifact" ] || continue
      echo "input $(basename "$artifact") (base64): $(base64 -w0 "$artifact")" >&2
    done
  fi
done
exit "$failed"
