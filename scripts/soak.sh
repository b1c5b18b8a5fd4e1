#!/usr/bin/env bash
# Runs the input storm (tests/program/input_storm_test.cpp) for longer than CI does:
#   scripts/soak.sh SECONDS [SEED]
# With a SEED, one storm of SECONDS with that seed; without, storms of fresh random seeds one
# after another (VORLUND_SOAK_CHUNK seconds each, 60 by default) until SECONDS have passed.
# VORLUND_STORM_KINDS=person keeps to the input a person can reach. Builds what is missing
# first (preset VORLUND_PRESET; by default win32 where the 32-bit Wine runs, else win64). Each storm's output is kept in
# build/PRESET/soak/seed-SEED.log; the seed of every failure is printed so that it can be
# replayed. Exits 1 when any storm failed.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 SECONDS [SEED]" >&2
  exit 2
fi
total=$1
fixed_seed=${2:-}
chunk=${VORLUND_SOAK_CHUNK:-60}
# The shipped 32-bit build where this machine runs it.
default_preset=win64
(. cmake/wine-env.sh && wine_env_for --32 >/dev/null 2>&1) && default_preset=win32
preset=${VORLUND_PRESET:-$default_preset}
build=$PWD/build/$preset
test_exe=$build/tests/program_input_storm_test.exe

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Vorlund program_input_storm_test -j2 >/dev/null
# The storm's tree and its md5sum digests (made once per build folder).
ctest --preset "$preset" -R '^program_input_storm_files$' >/dev/null
mkdir -p "$build/soak"

export VORLUND_BINARY_DIR=$build VORLUND_SOURCE_DIR=$PWD
start=$(date +%s)
storms=0
steps=0
failed=()
while :; do
  left=$((total - ($(date +%s) - start)))
  if [ -n "$fixed_seed" ]; then
    [ "$storms" -eq 0 ] || break
    seed=$fixed_seed seconds=$total
  else
    [ "$left" -gt 0 ] || break
    seed=$(((RANDOM << 15 | RANDOM) % 1000000000)) seconds=$((left < chunk ? left : chunk))
  fi
  log=$build/soak/seed-$seed.log
  echo "seed $seed: $seconds s of storm ..."
  status=0
  VORLUND_STORM_SEED=$seed VORLUND_STORM_SECONDS=$seconds \
    cmake/wine-run.sh "$build/wineprefix" "$test_exe" >"$log" 2>&1 || status=$?
  storms=$((storms + 1))
  line=$(grep -a '^\[storm\]' "$log" | tail -1 | tr -d '\r' || true)
  echo "  ${line:-[storm] seed $seed: no summary (see $log)}"
  taken=$(sed -n 's/.*: \([0-9]*\) steps.*/\1/p' <<<"$line")
  steps=$((steps + ${taken:-0}))
  if [ "$status" -ne 0 ]; then
    failed+=("$seed")
    echo "  FAILED: seed $seed (replay: $0 $seconds $seed; log $log)"
    # What the test saw, and where Wine saw a fault.
    grep -a -E 'Failure|seed [0-9]+, step|last steps|page fault|Unhandled exception|^=>|^  [0-9]+ 0x' \
      "$log" | tr -d '\r' | head -40 | sed 's/^/    /' || true
  fi
done
echo "soak: $storms storms, $steps steps, $(($(date +%s) - start)) s;" \
  "failed seeds: ${failed[*]:-none}"
[ ${#failed[@]} -eq 0 ]
