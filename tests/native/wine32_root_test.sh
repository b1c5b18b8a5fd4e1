#!/usr/bin/env bash
# The set-up's verification of a made 32-bit Wine (scripts/setup-wine32.sh --verify), over
# folders made here with each fix-up right or wrong, and over the machine's own folder when it
# has one. It reads files only, so it runs where no 32-bit code can.
set -euo pipefail
setup=$(dirname "$0")/../../scripts/setup-wine32.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# A DOS header as linkers write it: "MZ", then the stub's text from offset 78 on.
dos_stub() {  # FILE
  { printf 'MZ'; head -c 76 /dev/zero; printf 'This program cannot be run in DOS mode.\r\n'; } >"$1"
}
# What the set-up writes at offset 64: the builtin marker, with or without its NUL.
mark() {  # FILE TEXT
  printf "$2" | dd of="$1" bs=1 seek=64 conv=notrunc status=none
}
elf_i386=/lib/ld-linux.so.2  # the host's i386 loader: an ELF program of 32-bit x86

# A folder with every fix-up right; a case then spoils one thing.
make_root() {  # DIR
  local dir=$1 dlls=$1/usr/lib/i386-linux-gnu/wine/i386-windows
  mkdir -p "$dir/usr/lib/wine" "$dlls" "$dir/usr/lib/i386-linux-gnu/wine/i386-unix"
  for f in wine wine-preloader wineserver32; do install -m 755 "$elf_i386" "$dir/usr/lib/wine/$f"; done
  cp "$elf_i386" "$dir/usr/lib/i386-linux-gnu/wine/i386-unix/ntdll.so"
  printf '#!/bin/sh\nexec "$(dirname "$0")/wineserver32" "$@"\n' >"$dir/usr/lib/wine/wineserver"
  chmod 755 "$dir/usr/lib/wine/wineserver"
  for dll in user32 zlib1; do
    dos_stub "$dlls/$dll.dll"
    mark "$dlls/$dll.dll" 'Wine builtin DLL\0'
  done
}

expect() {  # WHAT PASS|FAIL DIR
  local status=0
  bash "$setup" --verify "$3" >"$work/said" 2>&1 || status=$?
  if { [ "$2" = PASS ] && [ $status -eq 0 ]; } || { [ "$2" = FAIL ] && [ $status -ne 0 ]; }; then
    echo "ok: $1"
  else
    echo "FAILED: $1: expected $2, the verification exited $status: $(cat "$work/said")"
    failures=$((failures + 1))
  fi
}

dlls=usr/lib/i386-linux-gnu/wine/i386-windows
# Case: what to do to a right folder, and whether it then passes.
cases=(
  "every fix-up right|:|PASS"
  "zlib1.dll marked without the NUL byte (what the set-up wrote before)|dos_stub \$r/$dlls/zlib1.dll; mark \$r/$dlls/zlib1.dll 'Wine builtin DLL'|FAIL"
  "zlib1.dll not marked at all|dos_stub \$r/$dlls/zlib1.dll|FAIL"
  "no zlib1.dll|rm \$r/$dlls/zlib1.dll|FAIL"
  "Wine's own DLLs unmarked|dos_stub \$r/$dlls/user32.dll; dos_stub \$r/$dlls/zlib1.dll|FAIL"
  "the packaged wineserver script, which starts the host's server|printf '#!/bin/sh\nexec /usr/lib/wine/wineserver64 \"\$@\"\n' >\$r/usr/lib/wine/wineserver|FAIL"
  "the loader a 64-bit program|install -m 755 /bin/true \$r/usr/lib/wine/wine|FAIL"
  "the server not executable|chmod 644 \$r/usr/lib/wine/wineserver32|FAIL"
  "no preloader|rm \$r/usr/lib/wine/wine-preloader|FAIL"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r what spoil outcome <<<"$entry"
  r=$work/root
  rm -rf "$r"
  make_root "$r"
  eval "$spoil"
  expect "$what" "$outcome" "$r"
done

# The machine's own folder, when the set-up made one: it verifies, and a copy of it with zlib1.dll
# fixed up as the set-up did before (the packaged DLL, 16 bytes written) does not.
made=${VORLUND_WINE32:-/opt/vorlund-wine32}
if bash "$setup" --check 2>/dev/null; then
  expect "the folder the set-up made ($made)" PASS "$made"
  copy=$work/made
  cp -al "$made" "$copy"
  cp --remove-destination "$made/usr/i686-w64-mingw32/lib/zlib1.dll" "$copy/$dlls/zlib1.dll"
  mark "$copy/$dlls/zlib1.dll" 'Wine builtin DLL'
  expect "a copy of it with the marker the set-up wrote before" FAIL "$copy"
else
  echo "skipped: no 32-bit Wine made on this machine ($made), only the folders made here"
fi

[ "$failures" -eq 0 ]
