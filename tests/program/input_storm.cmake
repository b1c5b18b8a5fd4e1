# The input storm's tree, made once per build folder under storm-files/: a few hundred small
# files in sub-folders (some with Chinese names, none named like a typed burst of letters), a few
# larger ones so that a run lasts a little, and md5sum's digests of them all in tree.md5.
vorlund_files_fixture(program_input_storm_files program_input_storm_test ${CMAKE_BINARY_DIR}/storm-files [=[
mkdir -p tree
cd "$dir/tree"
for d in 0 1 2 3 4 5 6 7 8 9; do
  for f in $(seq -w 0 19); do
    random_file "d$d/f$f.txt" $((10#$f * 97 + d))
  done
  for f in 0 1 2 3 4; do
    random_file "d$d/s$d$f/g$f.bin" $((f * 1500 + 1))
  done
done
for f in $(seq -w 0 29); do
  random_file "数据7/文件$f.txt" $((10#$f * 33 + 5))
done
random_file '数据7/子目录8/说明 9.txt' 777
random_file 'top0.bin' 4096
# Large, and sparse: random bytes at the start, zeros after.
for i in 1 2 3; do
  random_file "big$i/large$i.bin" 4096
  truncate -s 40M "big$i/large$i.bin"
done

md5sums_of "$dir/tree"
]=])
