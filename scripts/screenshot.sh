#!/usr/bin/env bash
# Starts the shipped 32-bit Vorlund.exe on a virtual display and saves a picture of its window:
#   scripts/screenshot.sh [OUTPUT.png]              the window as it starts (default
#                                                   build/screenshot.png)
#   scripts/screenshot.sh --after-run [OUTPUT.png]  the window after a run over a folder made for
#                                                   the picture, sub-folders ticked, a row selected
#                                                   (the README's picture: docs/window-after-run.png)
# Where this machine's kernel cannot run 32-bit programs, the x86-64 build of the same code is
# shown instead, and the script says so.
set -euo pipefail
cd "$(dirname "$0")/.."
after_run=0
if [ "${1:-}" = "--after-run" ]; then
  after_run=1
  shift
fi
out=$(realpath -m "${1:-build/screenshot.png}")
bash scripts/setup.sh
build=$(bash scripts/shown-build.sh)
preset=${build#build/}
cmake --preset "$preset" >/dev/null
targets=(--target Vorlund)
[ $after_run -eq 0 ] || targets+=(--target window_picture)
cmake --build --preset "$preset" "${targets[@]}" -j "$(nproc)"
prefix=$PWD/$build/wineprefix

. cmake/xvfb.sh
start_xvfb 1400x900
xvfb=$xvfb_pid
cleanup() {
  (. cmake/wine-env.sh && wine_env_for "$build/Vorlund.exe" 2>/dev/null &&
    WINEPREFIX=$prefix wineserver -k 2>/dev/null) || true
  kill "$xvfb" 2>/dev/null || true
  [ -z "${folder:-}" ] || rm -rf "$(dirname "$folder")"
}
trap cleanup EXIT

if [ $after_run -eq 1 ]; then
  # A folder of a user's kind: Chinese names, a sub-folder, files of a few sizes. Its own path
  # stays plain: it is typed into the path box.
  folder=/tmp/vorlund-picture/documents
  rm -rf "$folder"
  mkdir -p "$folder/照片"
  head -c 2300 /dev/urandom >"$folder/会议纪要.txt"
  head -c 48000 /dev/urandom >"$folder/年度报告 2024.doc"
  head -c 9100 /dev/urandom >"$folder/预算表.xls"
  head -c 310000 /dev/urandom >"$folder/照片/海边.jpg"
  head -c 270000 /dev/urandom >"$folder/照片/山顶日出.jpg"
  head -c 700 /dev/urandom >"$folder/readme.txt"
  VORLUND_DISPLAY=$xvfb_display VORLUND_BINARY_DIR=$PWD/$build \
    cmake/wine-run.sh "$prefix" "$build/tests/window_picture.exe" "$folder" "$out"
  exit
fi

VORLUND_DISPLAY=$xvfb_display cmake/wine-run.sh "$prefix" "$build/Vorlund.exe" &
# The window appears at (506, 171); let it show and tick once.
for _ in $(seq 1 100); do
  DISPLAY=$xvfb_display xwininfo -root -tree 2>/dev/null | grep -q '"Vorlund"' && break
  sleep 0.2
done
sleep 2
DISPLAY=$xvfb_display import -window root -crop 840x700+500+160 +repage "$out"
echo "Saved $out"
