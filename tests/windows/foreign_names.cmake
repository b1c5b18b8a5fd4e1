# A folder with names that code page 936 cannot carry (Korean, an emoji, "ñ") beside names it
# can, in files and in sub-folders, made once per build folder under foreign-names/, with
# md5sum's digests of its files in names.md5. The scanner's tests list it; the program's tests
# list and digest it.
vorlund_files_fixture(windows_foreign_names_files windows_scan_folder_test ${CMAKE_BINARY_DIR}/foreign-names [=[
mkdir names
cd "$dir/names"
size=1000
for name in 한국어.txt emoji😀.bin niño.txt café.txt Ωmega.txt 中文.txt plain.txt 子目录/文件.txt \
  한국폴더/데이터.txt; do
  random_file "$name" "$size"
  size=$((size + 777))
done
md5sums_of "$dir/names"
]=])
if(TEST program_foreign_names_test AND TEST windows_foreign_names_files)
  set_property(TEST program_foreign_names_test APPEND PROPERTY FIXTURES_REQUIRED
                                                           windows_foreign_names_files)
endif()
