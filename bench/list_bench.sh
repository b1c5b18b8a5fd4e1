#!/usr/bin/env bash
# Folder listing benchmark: a tree of 100,000 files (1,111 folders: 10 x 10 x 10 leaves of 100
# files each, below one top folder) listed with sub-folders into the main window's file list
# under Wine, beside a native `find` over the same tree and the platform's own walk and insert
# (FindFirstFileA/FindNextFileA, LB_ADDSTRING into a list box with its redraw held, no pumps).
#   bench/list_bench.sh [WIN64_BUILD_DIR] [RUNS]     (default build/win64, 3 runs; median shown)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/win64}
runs=${2:-3}
cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" --target list_bench -j 2 >/dev/null

tree=$(realpath -m "$build/list-bench-tree")
stamp="$tree.made-100000"
if [ ! -f "$stamp" ]; then
  rm -rf "$tree"
  python3 - "$tree" <<'PY'
import os, sys
root = sys.argv[1]
for a in range(10):
    for b in range(10):
        for c in range(10):
            leaf = os.path.join(root, f"a{a}", f"b{b}", f"c{c}")
            os.makedirs(leaf)
            for f in range(100):
                open(os.path.join(leaf, f"file_{f:03d}.dat"), "w").close()
PY
  touch "$stamp"
fi

# Native: `find` over the same tree, page cache warm, median of the runs.
find "$tree" -type f >/dev/null
times=()
for _ in $(seq "$runs"); do
  start=$(date +%s.%N)
  count=$(find "$tree" -type f | wc -l)
  end=$(date +%s.%N)
  times+=("$(echo "$end - $start" | bc)")
done
find_seconds=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")

# Under Wine: the path as Wine's drive Z: names it.
windows_tree="Z:${tree//\//\\}"
output=$(cmake/wine-run.sh "$build/wineprefix" "$build/bench/list_bench.exe" "$windows_tree" "$runs" 2>/dev/null)
value() { printf '%s\n' "$output" | awk -v k="$1" '$1 == k { print $2 }'; }

files=$(value files)
echo "tree: $files files in $(value folders) folders ($tree), median of $runs runs"
printf '%-44s %10s s %12s files/s\n' "native find -type f" "$find_seconds" \
  "$(echo "$count / $find_seconds" | bc)"
printf '%-44s %10s s %12s files/s\n' "ScanFolder into FileListBox1 (Wine)" "$(value scan_seconds)" \
  "$(value scan_files_per_second)"
printf '%-44s %10s s\n' "  of which rows handed to the list box" "$(value list_box_seconds)"
printf '%-44s %10s s %12s files/s\n' "  of which the walk (FindFirst/NextFileA)" "$(value walk_seconds)" \
  "$(value walk_files_per_second)"
printf '%-44s %10s s\n' "  of which the pumps (the rest)" "$(value pumps_seconds)"
printf '%-44s %10s s\n' "ScanFolder into memory (walk + pumps)" "$(value scan_into_memory_seconds)"
printf '%-44s %10s s\n' "  pumps without list rows to paint" "$(value pumps_without_list_seconds)"
printf '%-44s %10s s\n' "platform: walk + LB_ADDSTRING, redraw held" "$(value platform_seconds)"
printf '%-44s %10s x\n' "ScanFolder into FileListBox1 / platform" "$(value ratio_to_platform)"
