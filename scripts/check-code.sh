#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CI stage: what the compiler does not check. The layers (core, settings, sources, display,
# publishing, recordings and logging need no widget and include nothing of a higher layer;
# ui and viewer nothing of app; only logging and app reach sources), the layout of every
# source file (.clang-format), and the size of the tests against the code.
set -uo pipefail
cd "$(dirname "$0")/.."
status=0

# The layout check needs clang-format, which a fresh machine lacks.
scripts/install-deps.sh clang-format >&2 || echo "format: clang-format could not be installed (see above)"

# Layers: which project folders a file of each layer may include from.
declare -A allowed=(
  [core]="core" [settings]="core settings" [sources]="core sources" [display]="core display"
  [publishing]="core publishing" [recordings]="core recordings"
  [logging]="core settings sources publishing logging"
  [ui]="core settings display logging ui" [viewer]="core recordings viewer"
  [app]="core settings publishing recordings display logging ui viewer app"
)
widgets_dir="$(pkg-config --variable=includedir Qt6Widgets 2>/dev/null)/QtWidgets"
for layer in "${!allowed[@]}"; do
  while IFS=: read -r file line include; do
    folder="${include%%/*}"
    [[ " ${allowed[$layer]} " == *" $folder "* ]] && continue
    echo "layers: $file:$line includes \"$include\", above or beside the $layer layer"
    status=1
  done < <(grep -rnoE '#include "[a-z]+/[A-Za-z/]+\.h"' "src/$layer" | sed -E 's/#include "(.*)"/\1/')
  case "$layer" in ui|viewer|app) continue ;; esac
  while IFS=: read -r file line header; do
    if [[ "$header" == QtWidgets/* ]] || [ -e "$widgets_dir/$header" ]; then
      echo "layers: $file:$line includes <$header>, a Qt Widgets header, in the $layer layer"
      status=1
    fi
  done < <(grep -rnoE '#include <Q[A-Za-z/]+>' "src/$layer" | sed -E 's/#include <(.*)>/\1/')
done
[ "$status" -eq 0 ] && echo "layers: no widget below ui and viewer, no arrow upwards"

# Layout.
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if ! command -v clang-format >/dev/null 2>&1; then
  echo "format: NOT CHECKED: clang-format is missing; install it with: sudo apt-get install clang-format"
  status=1
elif ! clang-format --dry-run --Werror "${sources[@]}" 2>/dev/null; then
  echo "format: these files do not follow .clang-format (clang-format -i fixes them):"
  clang-format --dry-run "${sources[@]}" 2>&1 | grep -oE '^[^:]+\.(cpp|h)' | sort -u
  status=1
else
  echo "format: ${#sources[@]} files follow .clang-format"
fi

# Licence: every tracked C++ file, script and CMake file names the project's licence in an
# SPDX-License-Identifier line near its top (after a #! line, for instance).
check_spdx() {
  local file missing=0
  while IFS= read -r file; do
    if ! head -n 5 "$file" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later'; then
      echo "licence: $file has no SPDX-License-Identifier: GPL-3.0-or-later line at its top"
      missing=1
    fi
  done < <(git ls-files '*.cpp' '*.h' '*.sh' '*.py' '*.cmake' '*CMakeLists.txt' .ci/run)
  [ "$missing" -eq 0 ] && echo "licence: every source file names GPL-3.0-or-later"
  return "$missing"
}

check_spdx || status=1

# Test budget: non-blank lines of tests/ and fuzz/ against those of src/ (the licence line
# is neither), at most a third.
count() {
  git ls-files -- "$@" | grep -E '\.(cpp|h)$' | xargs cat | grep -v 'SPDX-License-Identifier' \
    | grep -cv '^[[:space:]]*$'
}
code=$(count src)
tests=$(count tests fuzz)
permille=$((1000 * tests / code))
echo "test budget: $tests lines of tests and fuzz checks for $code lines of src/" \
  "($((permille / 10)).$((permille % 10)) %; at most 33.3 %)"
[ "$permille" -le 333 ] || status=1
exit "$status"
