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

summary=$(mktemp)
stop_wine() { WINEPREFIX="$PWD/build/win64/wineprefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; }
trap 'stop_wine; rm -f "$summary"' EXIT

status=0
for preset in native native-san win64 win32; do
  echo "== test: $preset"
  ctest --preset "$preset" -j "$jobs" 2>&1 | tee -a "$summary" || status=1
done

# One closing line for the whole run.
read -r passed failed < <(awk '/tests passed, [0-9]+ tests? failed out of/ {
    total = $NF; failed = $4; passed += total - failed; fails += failed }
  END { print passed + 0, fails + 0 }' "$summary")
echo "all presets: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || status=1
exit $status
