#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests need it:
#   wine-run.sh PREFIX_DIR PROGRAM.exe [ARGS...]
# - the Wine that fits the program: a 32-bit (PE32) program runs under Debian's i386 Wine in a
#   pure 32-bit prefix (WINEARCH=win32), the way it runs on 32-bit Windows; an x86-64 one under the
#   system's wine64;
# - one Wine prefix per build folder, created once (under a lock) and reused;
# - the Chinese locale, so that the program sees code page 936;
# - the Chinese font "宋体" replaced by WenQuanYi Micro Hei Mono, which draws it legibly at 12 pixels;
# - a display of its own (a fresh Xvfb) unless VORLUND_DISPLAY names one to share;
# - windows framed and managed by Wine itself, since no window manager runs.
# Whatever it starts (Xvfb) it stops before it returns; wineserver is started with its
# output detached so that it never holds a caller's pipe open.
# Exits 77 (a skipped test for CTest) when the program is 32-bit and this machine's kernel cannot
# run 32-bit Linux programs, which the 32-bit Wine is.
set -euo pipefail

prefix=$(realpath -m "$1")
shift

. "$(dirname "$0")/wine-env.sh"
wine_env_for "$1" || exit $?
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8

mkdir -p "$(dirname "$prefix")"
(
  flock 9
  # Bump the stamp when the set-up below changes: older prefixes are then made anew.
  stamp="vorlund prefix 3, ${WINEARCH:-win64}"
  if [ "$(cat "$prefix/.vorlund-ready" 2>/dev/null)" != "$stamp" ]; then
    rm -rf "$prefix"
    wine wineboot -i </dev/null >/dev/null 2>&1
    key='HKCU\Software\Wine\Fonts\Replacements'
    for face in 宋体 SimSun; do
      wine reg add "$key" /v "$face" /t REG_SZ /d 'WenQuanYi Micro Hei Mono' /f </dev/null >/dev/null 2>&1
    done
    # No window manager runs on these displays: Wine draws the frames and title bars itself and
    # manages its windows alone (a managed window waits seconds for a manager that never answers).
    for value in Decorated Managed; do
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v $value /t REG_SZ /d N /f \
        </dev/null >/dev/null 2>&1
    done
    wineserver -w
    echo "$stamp" >"$prefix/.vorlund-ready"
  fi
) 9>"$prefix.lock"

# Keep the server running a little between programs, detached from our output.
wineserver -p10 </dev/null >/dev/null 2>&1 || true

xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

if [ -n "${VORLUND_DISPLAY:-}" ]; then
  export DISPLAY=$VORLUND_DISPLAY
else
  # A private display: focus and pointer tests must not meet another program's windows.
  . "$(dirname "$0")/xvfb.sh"
  start_xvfb 1280x1024
  export DISPLAY=$xvfb_display
fi

status=0
wine "$@" || status=$?
exit $status
