#!/usr/bin/env bash
# Builds Vorlund and starts the shipped 32-bit program, build/win32/Vorlund.exe, under the 32-bit
# Wine on the user's display (DISPLAY). The x86-64 build of the same code is built too; it is the
# one started on a machine whose kernel cannot run 32-bit programs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Vorlund -j "$(nproc)"
done
build=$(bash scripts/shown-build.sh)
echo "Built build/win32/Vorlund.exe (the shipped program) and build/win64/Vorlund.exe; starting $build/Vorlund.exe."
if [ -z "${DISPLAY:-}" ]; then
  echo "No display (DISPLAY is not set): cannot show the window." >&2
  echo "scripts/screenshot.sh shows it on a virtual display and saves a picture of it." >&2
  exit 1
fi
VORLUND_DISPLAY=$DISPLAY exec cmake/wine-run.sh "$build/wineprefix" "$build/Vorlund.exe"
