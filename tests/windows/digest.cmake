# The file digest tests read files of chosen and random sizes, one beyond 4 GiB (sparse), and
# compare with md5sum's digests of them. A setup test makes them once per build folder, under
# digest-files/, with md5sum's digests of them in digest-files.md5.
vorlund_files_fixture(windows_file_digest_files windows_file_digest_test ${CMAKE_BINARY_DIR}/digest-files [=[
# Around the read block (102400) and the staging piece (16384).
for size in 0 1 16383 16384 16385 32768 102399 102400 102401 204800 323584 1048576; do
  random_file "size_$size.bin" "$size"
done
# Random sizes, up to 1 MiB.
for i in 1 2 3 4 5 6; do
  random_file "random_$i.bin" $(( (RANDOM * 32768 + RANDOM) % 1048577 ))
done
# A name in Chinese: the tests open it by its GBK bytes.
random_file '数据 文件.bin' 5000

# Beyond 4 GiB: sparse, with data at the start, across the 4 GiB mark and at the end.
gib4=$((4 * 1024 * 1024 * 1024))
large_size=$((gib4 + 12345))
truncate -s "$large_size" large.bin
write_at() {  # OFFSET SIZE
  head -c "$2" /dev/urandom |
    dd of=large.bin bs=65536 seek="$1" oflag=seek_bytes iflag=fullblock conv=notrunc status=none
}
write_at 0 102400
write_at $((gib4 - 150000)) 300000
write_at $((large_size - 5000)) 5000

md5sums_of "$dir"
]=])
