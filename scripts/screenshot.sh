#!/usr/bin/env bash
# Starts Vorlund on a virtual display and saves a picture of its window at the design size:
#   scripts/screenshot.sh [OUTPUT.png]   (default build/screenshot.png)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build/screenshot.png}")
bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Vorlund -j "$(nproc)"

. cmake/xvfb.sh
start_xvfb 1400x900
xvfb=$xvfb_pid
display=${xvfb_display#:}
prefix=$PWD/build/win64/wineprefix
cleanup() {
  WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

VORLUND_DISPLAY=:$display cmake/wine-run.sh "$prefix" build/win64/Vorlund.exe &
# The window appears at (506, 171); let it show and tick once.
for _ in $(seq 1 100); do
  DISPLAY=:$display xwininfo -root -tree 2>/dev/null | grep -q '"Vorlund"' && break
  sleep 0.2
done
sleep 2
DISPLAY=:$display import -window root -crop 840x700+500+160 +repage "$out"
echo "Saved $out"
