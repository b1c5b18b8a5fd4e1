# The digest run tests digest a tree of files made once per build folder under run-files/:
# nested folders, names in Chinese, files of 0 bytes and of more than 100 KiB, with md5sum's
# digests of them (paths relative to the tree) in run-files.md5sums.
if(TARGET windows_digest_run_test AND VORLUND_RUN_WINDOWS_TESTS)
  set(run_files_script ${CMAKE_CURRENT_BINARY_DIR}/make_run_files.sh)
  file(WRITE ${run_files_script} [=[
#!/usr/bin/env bash
# make_run_files.sh DIR: the tree the digest run tests list and digest, and md5sum's digests.
set -euo pipefail
dir=$1
stamp=$dir.made
signature=$(sha1sum "$0" | cut -d' ' -f1)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$signature" ]; then
  exit 0
fi
rm -rf "$dir" "$dir.md5sums"
mkdir -p "$dir"
cd "$dir"
random_file() {  # NAME SIZE
  mkdir -p "$(dirname "$1")"
  head -c "$2" /dev/urandom >"$1"
}
random_file empty.bin 0
random_file one.bin 1
random_file block.bin 102400
random_file large.bin 150001
random_file '子目录/中文 文件.txt' 5000
random_file '子目录/空.bin' 0
random_file '子目录/深/深处.dat' 102401
random_file 'a/b/c/leaf.bin' 300000
for i in $(seq 1 14); do
  random_file "many/file_$i.bin" $(( (RANDOM * 32768 + RANDOM) % 200000 ))
done
find . -type f -printf '%P\n' | sort | while IFS= read -r f; do md5sum -- "$f"; done \
  >"$dir.md5sums.part"
mv "$dir.md5sums.part" "$dir.md5sums"
echo "$signature" >"$stamp"
]=])
  add_test(NAME windows_digest_run_files
           COMMAND bash ${run_files_script} ${CMAKE_BINARY_DIR}/run-files)
  set_tests_properties(windows_digest_run_files PROPERTIES FIXTURES_SETUP run_files)
  set_tests_properties(windows_digest_run_test PROPERTIES FIXTURES_REQUIRED run_files)
endif()
