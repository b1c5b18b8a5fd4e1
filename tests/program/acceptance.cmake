# The acceptance suite drives the whole program over folders made once per build folder, under
# acceptance-files/, with md5sum's digests of their files beside them (FOLDER.md5).
#   road/   files of chosen sizes, one with a Chinese name, and many/ with 200 sub-folders of one
#           file each, so that a listing lasts
#   small/  five small files
#   slow/   four large files (sparse: cheap to make), so that a run lasts
vorlund_files_fixture(program_acceptance_files program_acceptance_test ${CMAKE_BINARY_DIR}/acceptance-files [=[
mkdir -p road/many small slow
cd "$dir/road"
for size in 0 1 16384 102400 102401 300000; do
  random_file "size_$size.bin" "$size"
done
random_file '数据 文件.bin' 5000
for i in $(seq -w 0 199); do
  mkdir "many/d$i"
  random_file "many/d$i/f$i.txt" $((10#$i + 1))
done

cd "$dir/small"
for i in 1 2 3 4 5; do
  random_file "part_$i.bin" $((i * 7000))
done

# Large, and sparse: random bytes at the start, zeros after.
cd "$dir/slow"
for i in 1 2 3 4; do
  random_file "large_$i.bin" 4096
  truncate -s 200M "large_$i.bin"
done

for folder in road small slow; do
  md5sums_of "$dir/$folder"
done
]=])
