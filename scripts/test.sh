#!/usr/bin/env bash
# Builds everything and runs every test: the README's test command.
# Installs what it needs first (Debian packages, as root).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
for preset in native native-san win64 win32; do
  echo "== build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

echo "== format"
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
clang-format --dry-run -Werror $files

logs=$(mktemp -d)
stop_wine() {
  # The servers of both builds' prefixes, each of its own Wine.
  (
    . cmake/wine-env.sh
    for width in 64 32; do
      wine_env_for --$width 2>/dev/null || continue
      WINEPREFIX="$PWD/build/win$width/wineprefix" wineserver -k 2>/dev/null || true
    done
  )
}
trap 'stop_wine; rm -rf "$logs"' EXIT

status=0
for preset in native native-san win64 win32; do
  echo "== test: $preset"
  ctest --preset "$preset" -j "$jobs" 2>&1 | tee "$logs/$preset" || status=1
done

# How many tests ran on each build, then one closing line for the whole run. CTest counts a
# skipped test among the passed ones: it is taken out of them here.
per_build=()
passed=0 failed=0 skipped=0
for preset in native native-san win64 win32; do
  read -r total fails skips < <(awk '
    /tests passed, [0-9]+ tests? failed out of/ { total = $NF; fails = $4 }
    /\(Skipped\)$/ { skips++ }
    END { print total + 0, fails + 0, skips + 0 }' "$logs/$preset")
  ran=$((total - skips))
  entry="$preset $ran"
  [ "$skips" -eq 0 ] || entry="$entry ($skips skipped)"
  per_build+=("$entry")
  passed=$((passed + ran - fails))
  failed=$((failed + fails))
  skipped=$((skipped + skips))
done
(
  . cmake/wine-env.sh
  wine_env_for --32 >/dev/null 2>&1 || [ $? -ne 77 ] ||
    echo "The 32-bit tests were skipped: this machine's kernel cannot run 32-bit programs."
)
echo "tests run per build: $(IFS=,; echo "${per_build[*]}" | sed 's/,/, /g')"
echo "all presets: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ] || status=1
exit $status
