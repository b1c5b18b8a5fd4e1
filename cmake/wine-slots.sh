#!/usr/bin/env bash
# Makes and ends the test slots of one Windows build: CTest runs that build's tests in as many
# slots at once (its resource "wine", tests/wine-slots.json), each slot with a Wine prefix, a
# server and a display of its own, made once for the run and reused by each test of the slot.
#   wine-slots.sh start --32|--64 PREFIX_DIR SLOTS   prefixes PREFIX_DIR-0 …, their servers
#                                                     kept up, a display each
#   wine-slots.sh stop  --32|--64 PREFIX_DIR SLOTS   servers and displays ended
# Where this machine cannot run the build's Wine, start says so and does nothing: each test then
# reports itself skipped.
set -euo pipefail
action=$1 width=$2 base=$(realpath -m "$3") slots=$4
here=$(dirname "$0")
. "$here/wine-env.sh"
. "$here/xvfb.sh"
status=0
wine_env_for "$width" || status=$?
[ "$status" -ne 77 ] || exit 0
[ "$status" -eq 0 ] || exit "$status"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

# Whatever an earlier run left up ends first.
for slot in $(seq 0 $((slots - 1))); do
  prefix=$base-$slot
  if read -r _ pid screen <"$prefix.display" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    rm -rf "$(dirname "$screen")"
  fi
  rm -f "$prefix.display"
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
done
[ "$action" = start ] || exit 0

# The prefixes are made side by side (each takes a processor for a while).
pids=()
for slot in $(seq 0 $((slots - 1))); do
  (WINEPREFIX=$base-$slot wine_make_prefix) &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || exit 1; done

for slot in $(seq 0 $((slots - 1))); do
  export WINEPREFIX=$base-$slot
  screen_dir=$(mktemp -d)
  start_xvfb 1280x1024 "$screen_dir"
  # The server stays up for the whole run, and so do the system's own processes that the first
  # program starts (services, devices, the desktop on the slot's display): started here with
  # our output detached, they hold no test's output open.
  wineserver -p </dev/null >/dev/null 2>&1
  DISPLAY=$xvfb_display WINEDEBUG=-all wine cmd /c exit </dev/null >/dev/null 2>&1
  echo "$xvfb_display $xvfb_pid $screen_dir/Xvfb_screen0" >"$WINEPREFIX.display"
  echo "slot $slot: prefix $WINEPREFIX, display $xvfb_display"
done
