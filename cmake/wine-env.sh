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
