#!/usr/bin/env bash
# Checks the shipped program: a 32-bit (PE32) Windows GUI program that imports nothing but the
# system's own DLLs.
#   check-shipped-exe.sh PROGRAM.exe
set -euo pipefail
exe=$1
failed=0
kind=$(file -b "$exe")
case "$kind" in
  "PE32 executable (GUI) Intel 80386"*) echo "ok: $kind" ;;
  *) echo "not a PE32 GUI program: $kind"; failed=1 ;;
esac
system_dlls=" kernel32.dll user32.dll gdi32.dll comdlg32.dll shell32.dll ole32.dll msvcrt.dll advapi32.dll comctl32.dll "
while read -r dll; do
  lower=$(echo "$dll" | tr 'A-Z' 'a-z')
  if [[ "$system_dlls" == *" $lower "* ]]; then
    echo "ok: imports $dll"
  else
    echo "imports a DLL that Windows does not bring: $dll"
    failed=1
  fi
done < <(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}')
exit $failed
