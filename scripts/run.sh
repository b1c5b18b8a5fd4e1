#!/usr/bin/env bash
# Builds Vorlund and starts it under Wine on the user's display (DISPLAY).
# The 32-bit Vorlund.exe for Windows is built too: build/win32/Vorlund.exe.
# 32-bit Windows programs cannot run on these machines, so the x86-64 build of the same code
# (build/win64/Vorlund.exe) is the one started here.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Vorlund -j "$(nproc)"
done
echo "Built build/win32/Vorlund.exe (for Windows) and build/win64/Vorlund.exe (run here)."
if [ -z "${DISPLAY:-}" ]; then
  echo "No display (DISPLAY is not set): cannot show the window." >&2
  echo "scripts/screenshot.sh shows it on a virtual display and saves a picture of it." >&2
  exit 1
fi
VORLUND_DISPLAY=$DISPLAY exec cmake/wine-run.sh build/win64/wineprefix build/win64/Vorlund.exe
