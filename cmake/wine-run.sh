#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests need it:
#   wine-run.sh PREFIX_DIR PROGRAM.exe [ARGS...]
# - the Wine that fits the program: a 32-bit (PE32) program runs under Debian's i386 Wine in a
#   pure 32-bit prefix (WINEARCH=win32), the way it runs on 32-bit Windows; an x86-64 one under the
#   system's wine64;
# - one Wine prefix per build folder and test slot, created once (under a lock) and reused: a
#   test that CTest runs in slot N (its resource group "wine", cmake/wine-slots.sh) has the prefix
#   PREFIX_DIR-N and that slot's display, so that two slots share no server, foreground window,
#   pointer or screen;
# - the Chinese locale, so that the program sees code page 936;
# - the Chinese font "宋体" replaced by WenQuanYi Micro Hei Mono, which draws it legibly at 12 pixels;
# - a display: the slot's, else VORLUND_DISPLAY when it names one to share, else a fresh Xvfb of
#   its own, whose frame buffer file VORLUND_SCREEN names for the tests that read the screen;
# - windows framed and managed by Wine itself, since no window manager runs.
# Whatever it starts (Xvfb) it stops before it returns; wineserver is started with its
# output detached so that it never holds a caller's pipe open.
# Exits 77 (a skipped test for CTest) when the program is 32-bit and this machine's kernel cannot
# run 32-bit Linux programs, which the 32-bit Wine is; 1 when the prefix cannot be made (with
# what Wine said).
set -euo pipefail

prefix=$(realpath -m "$1")
shift
here=$(dirname "$0")

. "$here/wine-env.sh"
. "$here/xvfb.sh"
wine_env_for "$1" || exit $?
slot=$(wine_slot)
[ -z "$slot" ] || prefix=$prefix-$slot
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
export VORLUND_SLOT=${slot:-0}

wine_make_prefix || exit 1

xvfb_pid=
screen_dir=
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  [ -z "$screen_dir" ] || rm -rf "$screen_dir"
}
trap cleanup EXIT

if [ -n "$slot" ] && read_slot_display "$prefix"; then
  export DISPLAY=$slot_display VORLUND_SCREEN=$slot_screen
  # Each test meets the pointer where a fresh display has it, in the middle of the screen.
  xdotool mousemove 640 512 </dev/null >/dev/null 2>&1 || true
else
  # Keep the server running a little between programs, detached from our output.
  wineserver -p10 </dev/null >/dev/null 2>&1 || true
  if [ -n "${VORLUND_DISPLAY:-}" ]; then
    export DISPLAY=$VORLUND_DISPLAY
  else
    # A private display: focus and pointer tests must not meet another program's windows.
    screen_dir=$(mktemp -d)
    start_xvfb 1280x1024 "$screen_dir"
    export DISPLAY=$xvfb_display VORLUND_SCREEN=$screen_dir/Xvfb_screen0
  fi
fi

status=0
wine "$@" || status=$?
exit $status
