#!/usr/bin/env bash
# Builds and runs the benchmarks (not part of the test command):
# - our MD5 against OpenSSL's over the same buffers, natively;
# - then for each Windows build (the build folder, its preset and the Wine runner that runs it):
#   FileMD5Hex on a 1 GiB file in the page cache beside our MD5's rate over memory; the digest
#   run (Button1) over 10,000 files of 1 KiB beside the platform's own file work, and over the
#   1 GiB file beside md5sum; the folder listing of 99,990 and of 999,900 files beside the
#   platform's own walk and insert.
# Each figure is measured beside its platform cost in the same run. The end is a table, one
# line per ratio and build.
#   scripts/bench.sh [RUNS]      (3 runs of each; VORLUND_BENCH_BIG_LISTING=0 leaves out the
#                                 listing of 999,900 files, which takes minutes)
# Both Windows builds are measured: the shipped 32-bit one under the 32-bit Wine, and the x86-64
# one under wine64; where this machine cannot run 32-bit programs, the 32-bit build is skipped
# with one line saying so. Build folders: VORLUND_BENCH_NATIVE_DIR, VORLUND_BENCH_WIN32_DIR and
# VORLUND_BENCH_WIN64_DIR (default build/native, build/win32 and build/win64, the presets' own).
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-3}
native_dir=${VORLUND_BENCH_NATIVE_DIR:-build/native}
win32_dir=${VORLUND_BENCH_WIN32_DIR:-build/win32}
win64_dir=${VORLUND_BENCH_WIN64_DIR:-build/win64}
big_listing=${VORLUND_BENCH_BIG_LISTING:-1}
jobs=${VORLUND_BENCH_JOBS:-2}

cmake --preset native -B "$native_dir" >/dev/null
cmake --build "$native_dir" --target md5_bench -j "$jobs" >/dev/null
echo "== MD5 over memory: ours against OpenSSL's (native, best of 7 runs of 256 MiB each)"
"$native_dir/bench/md5_bench"

summary=()
# One Windows build: NAME BUILD_DIR PRESET RUNNER (a script taking PREFIX PROGRAM ARGS...).
bench_build() {
  local name=$1 dir=$2 preset=$3 runner=$4 line
  export VORLUND_BENCH_RUNNER=$runner
  cmake --preset "$preset" -B "$dir" >/dev/null
  cmake --build "$dir" --target file_digest_bench -j "$jobs" >/dev/null
  # Whatever the runner leaves running in the build's prefix stops when the script ends.
  stop_servers+=("$dir")

  echo
  echo "== $name: file digest under Wine, a 1 GiB file in the page cache (best of 5 runs)"
  . bench/big_file.sh
  big_file_with_md5sum "$dir/bench-files"
  "$runner" "$dir/wineprefix" "$dir/bench/file_digest_bench.exe" "Z:${big//\//\\}" \
    "$md5sum_rate" "$md5sum_digest"

  echo
  echo "== $name: digest run under Wine, 10,000 files of 1 KiB beside the platform's file work;" \
    "1 GiB beside md5sum"
  while IFS= read -r line; do
    echo "$line"
    case $line in ratio\ *) summary+=("$name ${line#ratio }") ;; esac
  done < <(bash bench/run_bench.sh "$dir" "$runs" "$preset")

  local per_folder
  for per_folder in 90 900; do
    [ "$per_folder" = 900 ] && [ "$big_listing" = 0 ] && continue
    echo
    echo "== $name: folder listing under Wine, 1,111 folders of $per_folder files beside the" \
      "platform's walk and insert"
    while IFS= read -r line; do
      echo "$line"
      case $line in ratio\ *) summary+=("$name ${line#ratio }") ;; esac
    done < <(bash bench/list_bench.sh "$dir" "$runs" "$per_folder" "$preset")
  done
}

stop_servers=()
stop() {
  local dir
  for dir in "${stop_servers[@]}"; do
    (. cmake/wine-env.sh && wine_env_for "$dir/Vorlund.exe" 2>/dev/null &&
      WINEPREFIX=$(realpath "$dir")/wineprefix wineserver -k 2>/dev/null) || true
  done
}
trap stop EXIT

skipped=()
if (. cmake/wine-env.sh && wine_env_for --32 >/dev/null 2>&1); then
  bench_build 32-bit "$win32_dir" win32 cmake/wine-run.sh
else
  skipped+=("32-bit   skipped: this machine cannot run the 32-bit Wine (its kernel runs no 32-bit programs, or the 32-bit Wine is not made)")
fi
bench_build x86-64 "$win64_dir" win64 cmake/wine-run.sh

echo
echo "== Ratios (run and listings: the program's time over the platform's, lower is better;"
echo "   big_file: the run's rate over md5sum's, higher is better)"
for line in "${summary[@]}"; do
  read -r build key ratio <<<"$line"
  printf '%-8s %-18s %s\n' "$build" "$key" "$ratio"
done
for line in "${skipped[@]}"; do echo "$line"; done
