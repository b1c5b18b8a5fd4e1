#!/usr/bin/env bash
# Digest run benchmark under Wine: Button1's run over 10,000 files of 1 KiB in 100 folders
# beside the platform's own cost of the same file work (open, 100 KiB reads, close, a row into
# a list box with its redraw held), and a run over one 1 GiB file in the page cache beside
# md5sum on it.
#   bench/run_bench.sh [WIN64_BUILD_DIR] [RUNS]     (default build/win64, 3 runs)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/win64}
runs=${2:-3}
cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" --target run_bench -j 2 >/dev/null

tree=$(realpath -m "$build/run-bench-tree")
stamp="$tree.made-10000"
if [ ! -f "$stamp" ]; then
  rm -rf "$tree"
  python3 - "$tree" <<'PY'
import os, sys
root = sys.argv[1]
for d in range(100):
    folder = os.path.join(root, f"d{d:02d}")
    os.makedirs(folder)
    for f in range(100):
        with open(os.path.join(folder, f"f{f:02d}.bin"), "wb") as out:
            out.write(os.urandom(1024))
PY
  touch "$stamp"
fi

. bench/big_file.sh
big_file_with_md5sum "$build/bench-files"

output=$(cmake/wine-run.sh "$build/wineprefix" "$build/bench/run_bench.exe" "Z:${tree//\//\\}" \
  "Z:${big//\//\\}" "$runs" "$md5sum_rate" "$md5sum_digest" 2>/dev/null)
value() { printf '%s\n' "$output" | awk -v k="$1" '$1 == k { print $2 }'; }

echo "tree: $(value files) files of 1 KiB in 100 folders, median of $runs runs"
printf '%-52s %8s s\n' "platform: open, read, close, row into a list box" "$(value platform_seconds)"
printf '%-52s %8s s  %s x the platform (target at most 2)\n' "Button1's run" \
  "$(value run_seconds)" "$(value run_per_platform)"
printf '%-52s %8s s\n' "  of which in FileMD5Hex (open to close)" "$(value run_digests_seconds)"
printf '%-52s %8s s\n' "  of which the rest (pumps, lists, gauge)" "$(value run_rest_seconds)"
echo "the run's parts, each measured alone:"
printf '%-52s %8s s\n' "  FileMD5Hex over the rows (file calls, heap, MD5)" "$(value digests_seconds)"
printf '%-52s %8s s\n' "  FileMD5Hex's file calls alone" "$(value file_calls_seconds)"
printf '%-52s %8s s\n' "  rows read from the file list" "$(value row_reads_seconds)"
printf '%-52s %8s s\n' "  digests appended to Memo2 (redraw held)" "$(value adds_seconds)"
printf '%-52s %8s s\n' "  gauge writes and repaints" "$(value gauge_seconds)"
printf '%-52s %8s s\n' "  pumps, one per 16 rows, with Memo2's new rows" "$(value pumps_seconds)"
printf '%-52s %8s s\n' "  as many pumps with nothing new to draw" "$(value idle_pumps_seconds)"
echo "one file: $(value big_file_mb) MB in the page cache, best of $runs runs"
printf '%-52s %8s MB/s\n' "md5sum" "$md5sum_rate"
printf '%-52s %8s MB/s  %s x md5sum (target at least 1.0)\n' "Button1's run of one row" \
  "$(value big_run_mb_per_second)" "$(value big_run_per_md5sum)"
