#!/usr/bin/env bash
# Builds the libFuzzer target of the path box rules with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs it:
#   scripts/fuzz.sh [SECONDS]        (default 60; 0 only builds)
# The build and the corpus live in build/fuzz/. A fault stops the run with the input that
# caused it saved there as crash-*.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
out=build/fuzz
mkdir -p "$out/corpus"

clang++ -std=c++20 -O1 -g -I. -Wall -Wextra -Werror \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer \
  collect/fuzz/path_rules_fuzz.cpp collect/path_rules.cpp common/text_rules.cpp \
  -o "$out/path_rules_fuzz"

# Seeds: the texts of the path box table, and GBK names whose trail byte is "\".
seed() { printf "$2" >"$out/corpus/seed-$1"; }
seed dir 'C:\\dir'
seed dir-bs 'C:\\dir\\'
seed dir-bs3 'C:\\dir\\\\\\'
seed a-slash-b 'C:\\a/b\\'
seed drive-slash 'C:/dir\\'
seed root 'C:\\'
seed bs '\\'
seed drive 'C:'
seed slash 'C:/dir'
seed blanks '  C:\\dir  '
seed gbk-5c 'C:\\\x81\x5c'
seed gbk-5c-bs 'C:\\\x81\x5c\\'
seed slash-in-run 'C:\\dir\\/\\'

if [ "$seconds" -gt 0 ]; then
  "$out/path_rules_fuzz" -max_total_time="$seconds" -max_len=64 -artifact_prefix="$out/" \
    "$out/corpus"
fi
