#!/usr/bin/env bash
# Prints the build folder whose Vorlund.exe the run and screenshot scripts start: build/win32, the
# shipped 32-bit program, or build/win64 where this machine's kernel cannot run 32-bit programs
# (then it says so on stderr).
set -euo pipefail
cd "$(dirname "$0")/.."
. cmake/wine-env.sh
status=0
wine_env_for --32 || status=$?
case $status in
  0) echo build/win32 ;;
  77)
    echo "Starting the x86-64 build of the same code instead." >&2
    echo build/win64
    ;;
  *) exit $status ;;
esac
