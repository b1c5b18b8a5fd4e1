#!/usr/bin/env bash
# Builds and runs the benchmarks (not part of the test command):
# - our MD5 against OpenSSL's over the same buffers, natively;
# - FileMD5Hex under Wine on a 1 GiB file in the page cache, against md5sum on the same file
#   and against our MD5's rate over memory;
# - the digest run (Button1) under Wine over 10,000 files of 1 KiB beside the platform's own
#   file work, and over the 1 GiB file beside md5sum;
# - the folder listing under Wine, 100,000 files beside the platform's own walk and insert.
# Build folders: VORLUND_BENCH_NATIVE_DIR and VORLUND_BENCH_WIN64_DIR (default build/native and
# build/win64, the presets' own).
set -euo pipefail
cd "$(dirname "$0")/.."

native_dir=${VORLUND_BENCH_NATIVE_DIR:-build/native}
win_dir=${VORLUND_BENCH_WIN64_DIR:-build/win64}
jobs=${VORLUND_BENCH_JOBS:-2}

cmake --preset native -B "$native_dir" >/dev/null
cmake --build "$native_dir" --target md5_bench -j "$jobs" >/dev/null
cmake --preset win64 -B "$win_dir" >/dev/null
cmake --build "$win_dir" --target file_digest_bench -j "$jobs" >/dev/null

echo "== MD5 over memory: ours against OpenSSL's (native, best of 7 runs of 256 MiB each)"
"$native_dir/bench/md5_bench"

echo
echo "== File digest under Wine: a 1 GiB file in the page cache (best of 5 runs)"
. bench/big_file.sh
big_file_with_md5sum "$win_dir/bench-files"
file=$big

prefix=$(realpath "$win_dir")/wineprefix
trap 'WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
bash cmake/wine-run.sh "$prefix" "$win_dir/bench/file_digest_bench.exe" \
  "Z:${file//\//\\}" "$md5sum_rate" "$md5sum_digest"

echo
echo "== Digest run under Wine: 10,000 small files beside the platform's file work; 1 GiB beside md5sum"
bash bench/run_bench.sh "$win_dir"

echo
echo "== Folder listing under Wine: 100,000 files into the file list beside the platform's walk and insert"
bash bench/list_bench.sh "$win_dir"
