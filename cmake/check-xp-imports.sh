#!/usr/bin/env bash
# Checks that the shipped program can start on 32-bit Windows XP SP3: its header asks for no
# system newer than XP (5.1), and every function it imports is one the list names, a function
# that XP SP3's DLL exports by its documentation. Reads the file on the host; nothing runs.
#   check-xp-imports.sh PROGRAM.exe LIST
# LIST: one function a line, "DLL FUNCTION | earliest system | source"; the earliest system
# must be one that XP SP3 comes after, and the source is named.
set -euo pipefail
exe=$1
list=$2
failed=0
header=$(i686-w64-mingw32-objdump -p "$exe")

# The header: the system version and the subsystem version, at most 5.1.
version_of() { awk -v field="$1" '$1 == field {print $2}' <<<"$header"; }
for kind in OSystem Subsystem; do
  major=$(version_of "Major${kind}Version")
  minor=$(version_of "Minor${kind}Version")
  if [ -z "$major" ] || [ -z "$minor" ]; then
    echo "no ${kind} version in the header"
    failed=1
  elif [ "$major" -gt 5 ] || { [ "$major" -eq 5 ] && [ "$minor" -gt 1 ]; }; then
    echo "the header's ${kind} version $major.$minor is newer than Windows XP (5.1)"
    failed=1
  else
    echo "ok: ${kind} version $major.$minor"
  fi
done

# The list, as "dll function" keys (the DLL's name in lower case).
declare -A listed
line_number=0
while IFS= read -r line; do
  line_number=$((line_number + 1))
  [[ "$line" =~ ^[[:space:]]*(#|$) ]] && continue
  IFS='|' read -r key earliest source <<<"$line"
  read -r dll function rest <<<"$key"
  earliest=$(sed 's/^ *//; s/ *$//' <<<"$earliest")
  source=$(sed 's/^ *//; s/ *$//' <<<"$source")
  if [ -z "$function" ] || [ -n "$rest" ] || [ -z "$source" ]; then
    echo "$list:$line_number: not \"DLL FUNCTION | earliest system | source\": $line"
    failed=1
    continue
  fi
  case "$earliest" in
    "Windows 2000 Professional" | "Windows XP" | "Windows NT 3.51"* | "Windows NT 4.0 SP6"* | \
      "msvcrt.dll of Visual C++ 4.2"*) ;;
    *)
      echo "$list:$line_number: $function: \"$earliest\" is no system that XP SP3 comes after"
      failed=1
      continue
      ;;
  esac
  listed["${dll,,} $function"]=1
done <"$list"

# The import table: "DLL Name:" opens a DLL's functions, one a line (hint, then name; "<none>"
# for an import by ordinal).
count=0
while read -r dll function; do
  count=$((count + 1))
  if [ "$function" = "<ordinal>" ]; then
    echo "imports from $dll by ordinal, which no documentation names"
    failed=1
  elif [ -z "${listed["${dll,,} $function"]:-}" ]; then
    echo "imports $dll $function, which the list of XP SP3's functions does not name"
    failed=1
  fi
done < <(awk '
  /^\tDLL Name: / { dll = $3; next }
  /^$/ || /^ / { next }
  dll != "" && /^\t[0-9a-f]+\t/ {
    if (NF >= 3 && $3 != "<none>") print dll, $3; else print dll, "<ordinal>"
  }' <<<"$header")
if [ "$count" -eq 0 ]; then
  echo "no imports read from $exe"
  failed=1
fi
echo "$count imported functions checked"
exit $failed
