# Sourced by the scripts that start Windows programs: chooses the Wine that fits a program's width.
#   wine_env_for PROGRAM.exe | --32 | --64
# then `wine ARGS...` runs the chosen loader and `wineserver ARGS...` its server, with WINEARCH
# exported for the 32-bit one (set WINEPREFIX first).
# - x86-64 (PE32+): the system's wine64 and its server;
# - 32-bit (PE32): Debian's i386 Wine unpacked into VORLUND_WINE32 (scripts/setup-wine32.sh
#   makes it), its own 32-bit server, and a pure 32-bit prefix: what 32-bit Windows is.
# Returns 77 when the program is 32-bit and this machine's kernel refuses to run 32-bit Linux
# programs (the i386 Wine loader is one), after saying so.
wine32_root=${VORLUND_WINE32:-/opt/vorlund-wine32}

# Whether the kernel runs 32-bit x86 Linux programs (some virtual machines' kernels refuse
# them): the host's i386 loader, from libc6-i386, is asked for its version.
kernel_runs_32bit() {
  local status=0
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || status=$?
  [ "$status" != 126 ]
}

wine_width_of() {  # PROGRAM.exe: prints 32 or 64
  case "$(file -b "$1")" in
    PE32+\ *) echo 64 ;;
    PE32\ *) echo 32 ;;
    *)
      echo "wine-env: not a Windows program: $1" >&2
      return 2
      ;;
  esac
}

wine_env_for() {
  local width
  case "$1" in
    --32) width=32 ;;
    --64) width=64 ;;
    *) width=$(wine_width_of "$1") || return ;;
  esac
  if [ "$width" = 64 ]; then
    unset WINEARCH WINESERVER
    wine() { /usr/lib/wine/wine64 "$@"; }
    wineserver() { /usr/lib/wine/wineserver "$@"; }
    return 0
  fi
  if ! kernel_runs_32bit; then
    echo "wine-env: this machine's kernel cannot run 32-bit programs, so no 32-bit Wine can" \
      "start: not run here" >&2
    return 77
  fi
  if [ ! -f "$wine32_root/.vorlund-ready" ]; then
    echo "wine-env: the 32-bit Wine is not made ($wine32_root): run scripts/setup.sh as root" >&2
    return 1
  fi
  export WINEARCH=win32
  export WINESERVER=$wine32_root/usr/lib/wine/wineserver32
  export WINEDLLPATH=$wine32_root/usr/lib/i386-linux-gnu/wine
  wine32_libs=$wine32_root/lib/i386-linux-gnu:$wine32_root/usr/lib/i386-linux-gnu
  wine() { LD_LIBRARY_PATH=$wine32_libs "$wine32_root/usr/lib/wine/wine" "$@"; }
  wineserver() { LD_LIBRARY_PATH=$wine32_libs "$WINESERVER" "$@"; }
}

# Makes the Wine prefix WINEPREFIX for the chosen Wine when it is missing, half made or made by
# an older recipe, under a lock (call wine_env_for first). When a step fails it prints what Wine
# said and returns 1, leaving no stamp: the next call starts the prefix over.
wine_make_prefix() {
  local prefix=$WINEPREFIX
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    # Bump the stamp when the set-up below changes: older prefixes are then made anew.
    local stamp="vorlund prefix 4, ${WINEARCH:-win64}"
    [ "$(cat "$prefix/.vorlund-ready" 2>/dev/null)" != "$stamp" ] || exit 0
    rm -rf "$prefix"
    local log=$prefix.log
    step() {  # WHAT COMMAND...: runs one step of the set-up, its output kept in the log
      local what=$1 status=0
      shift
      echo "== $what: $*" >>"$log"
      "$@" </dev/null >>"$log" 2>&1 || status=$?
      [ "$status" -eq 0 ] && return 0
      echo "wine-env: making the Wine prefix $prefix failed at: $what (exit $status). Wine said:" >&2
      sed 's/^/  /' "$log" >&2
      return 1
    }
    : >"$log"
    # The loader's own complaints (a DLL that does not load) are what tells a failure's cause.
    export WINEDEBUG=-all,err+module
    step "the prefix (wineboot -i)" wine wineboot -i || exit 1
    local key='HKCU\Software\Wine\Fonts\Replacements' face value
    for face in 宋体 SimSun; do
      step "the font replacement of $face" \
        wine reg add "$key" /v "$face" /t REG_SZ /d 'WenQuanYi Micro Hei Mono' /f || exit 1
    done
    # No window manager runs on these displays: Wine draws the frames and title bars itself and
    # manages its windows alone (a managed window waits seconds for a manager that never answers).
    for value in Decorated Managed; do
      step "the X11 driver's $value" \
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v $value /t REG_SZ /d N /f || exit 1
    done
    step "the server's end" wineserver -w || exit 1
    # What a made prefix has: the system's own DLLs in place.
    if [ ! -f "$prefix/drive_c/windows/system32/user32.dll" ]; then
      echo "wine-env: the Wine prefix $prefix was made without user32.dll. Wine said:" >&2
      sed 's/^/  /' "$log" >&2
      exit 1
    fi
    echo "$stamp" >"$prefix/.vorlund-ready"
  ) 9>"$prefix.lock"
}

# The test slot CTest gave this test (the id of its resource group "wine"), or nothing outside
# such a run.
wine_slot() {
  local group=${CTEST_RESOURCE_GROUP_0_WINE:-}
  group=${group#id:}
  echo "${group%%,*}"
}

# A slot's display, kept in PREFIX.display by cmake/wine-slots.sh: sets slot_display and
# slot_screen when that display is up.
read_slot_display() {  # PREFIX
  local pid
  read -r slot_display pid slot_screen <"$1.display" 2>/dev/null || return 1
  kill -0 "$pid" 2>/dev/null && [ -f "$slot_screen" ]
}
