#!/usr/bin/env bash
# Folder listing benchmark: a tree of 1,111 folders (one top folder, 10 below it, 100 below
# those, 1,000 below those), each holding the same number of empty files, listed with
# sub-folders into the main window's file list under Wine, beside a native `find` over the same
# tree and the platform's own walk and insert (FindFirstFileA/FindNextFileA, LB_ADDSTRING into a
# list box with its redraw held, no pumps).
#   bench/list_bench.sh [BUILD_DIR] [RUNS] [FILES_PER_FOLDER] [PRESET]
# (default build/win64, 3 runs, 90 files a folder: 99,990 files; 900 gives 999,900; preset
# win64). The Wine runner is VORLUND_BENCH_RUNNER (default cmake/wine-run.sh). The last line is
# "ratio listing_FILES RATIO".
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/win64}
runs=${2:-3}
per_folder=${3:-90}
preset=${4:-win64}
runner=${VORLUND_BENCH_RUNNER:-cmake/wine-run.sh}
cmake --preset "$preset" -B "$build" >/dev/null
cmake --build "$build" --target list_bench -j 2 >/dev/null

tree=$(realpath -m "$build/list-bench-tree-$per_folder")
stamp="$tree.made"
if [ ! -f "$stamp" ]; then
  rm -rf "$tree"
  python3 - "$tree" "$per_folder" <<'PY'
import os, sys
root, per_folder = sys.argv[1], int(sys.argv[2])
folders = [root]
for a in range(10):
    folders.append(os.path.join(root, f"a{a}"))
    for b in range(10):
        folders.append(os.path.join(root, f"a{a}", f"b{b}"))
        for c in range(10):
            folders.append(os.path.join(root, f"a{a}", f"b{b}", f"c{c}"))
for folder in folders:
    os.makedirs(folder, exist_ok=True)
    for f in range(per_folder):
        open(os.path.join(folder, f"file_{f:03d}.dat"), "w").close()
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
output=$("$runner" "$build/wineprefix" "$build/bench/list_bench.exe" "$windows_tree" "$runs" 2>/dev/null)
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
echo "ratio listing_$files $(value ratio_to_platform)"
