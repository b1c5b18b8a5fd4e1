#!/usr/bin/env bash
# Builds everything and runs every test: the README's test command.
# Installs what it needs first (Debian packages, as root).
#
# Where this machine runs the shipped 32-bit build's tests, of the x86-64 build's Windows tests
# only those labelled "width" are built and run (the code whose behaviour depends on the width of
# a pointer or a size: file lengths past 4 GiB, memory that runs out, the largest write, the
# program's start), with the x86-64 program itself; VORLUND_ALL_WIN64_TESTS=1 builds and runs all
# of them all the same. Where the 32-bit tests cannot run, every x86-64 test is built and runs.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
timings=()
timed() {  # WHAT COMMAND...: runs a step and notes how long it took
  local what=$1 from=$SECONDS
  shift
  "$@"
  timings+=("$what $((SECONDS - from))")
}

# A badly formatted file is reported before anything is built.
echo "== format"
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
if command -v clang-format >/dev/null; then
  timed format clang-format --dry-run -Werror $files
fi

timed set-up bash scripts/setup.sh
# clang-format may have come with the set-up.
[ -n "$(printf '%s\n' "${timings[@]}" | grep '^format ')" ] || timed format clang-format --dry-run -Werror $files

runs_32bit=1
(. cmake/wine-env.sh && wine_env_for --32 >/dev/null 2>&1) || runs_32bit=0

# Where the x86-64 build runs only the tests labelled width, it builds only what they need.
x86_64_only_width=0
[ $runs_32bit -eq 0 ] || [ -n "${VORLUND_ALL_WIN64_TESTS:-}" ] || x86_64_only_width=1

jobs=$(nproc)
presets=(native native-san win32 win64)
for preset in "${presets[@]}"; do
  echo "== build: $preset"
  targets=
  [ "$preset" != win64 ] || [ $x86_64_only_width -eq 0 ] || targets="--target width_tests"
  timed "build $preset" bash -c "cmake --preset $preset >/dev/null && cmake --build --preset $preset -j $jobs $targets"
done

logs=$(mktemp -d)
stop_wine() {
  # The servers of both builds' prefixes, each of its own Wine (the test slots end their own).
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
for preset in "${presets[@]}"; do
  echo "== test: $preset"
  select=()
  if [ "$preset" = win64 ] && [ $x86_64_only_width -eq 1 ]; then
    echo "(the 32-bit tests ran: of the x86-64 Windows tests, those labelled width)"
    select=(-L width)
  fi
  timed "test $preset" bash -c 'ctest --preset "$0" -j "$1" --output-junit "$2" "${@:3}" 2>&1 | tee "$2.log"; exit "${PIPESTATUS[0]}"' \
    "$preset" "$jobs" "$logs/$preset.xml" "${select[@]}" || status=1
done

# How many tests ran on each build, read from CTest's JUnit report, then one closing line for
# the whole run. A test that skipped itself (exit code 77) is counted apart; one that CTest did
# not run for another reason (its fixture failed, say) counts as failed.
count_report() {  # REPORT: prints total, failed, skipped
  awk '
    /<testcase / { total++; status = $0; sub(/.*status="/, "", status); sub(/".*/, "", status)
                   if (status == "fail") fails++; notrun = (status == "notrun") }
    /<skipped / && notrun { if (/SKIP_RETURN_CODE/) skips++; else fails++; notrun = 0 }
    END { print total + 0, fails + 0, skips + 0 }' "$1"
}
per_build=()
passed=0 failed=0 skipped=0
for preset in "${presets[@]}"; do
  total=0 fails=1 skips=0  # no report: CTest did not run
  [ ! -f "$logs/$preset.xml" ] || read -r total fails skips < <(count_report "$logs/$preset.xml")
  ran=$((total - skips))
  entry="$preset $ran"
  [ "$skips" -eq 0 ] || entry="$entry ($skips skipped)"
  per_build+=("$entry")
  passed=$((passed + ran - fails))
  failed=$((failed + fails))
  skipped=$((skipped + skips))
done
[ $runs_32bit -eq 1 ] ||
  echo "The 32-bit tests were skipped: this machine's kernel cannot run 32-bit programs."
echo "where the time went (s): $(IFS=,; echo "${timings[*]}" | sed 's/,/, /g'), all $((SECONDS - started))"
echo "tests run per build: $(IFS=,; echo "${per_build[*]}" | sed 's/,/, /g')"
echo "total: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ] || status=1
exit $status
