# The digest run tests digest a tree of files made once per build folder under run-files/:
# nested folders, names in Chinese, files of 0 bytes and of more than 100 KiB, with md5sum's
# digests of them in run-files.md5.
vorlund_files_fixture(windows_digest_run_files windows_digest_run_test ${CMAKE_BINARY_DIR}/run-files [=[
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
md5sums_of "$dir"
]=])
