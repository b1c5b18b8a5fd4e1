# The save tests fill a real file system: a set-up test mounts an 8 KiB tmpfs on full-disk/ in
# the build folder, a clean-up test unmounts it after them. Where mounting is refused (not
# root), full-disk.state says why and the tests that need it skip.
if(TEST windows_export_test)
  set(full_disk_dir ${CMAKE_BINARY_DIR}/full-disk)
  set(full_disk_script ${CMAKE_CURRENT_SOURCE_DIR}/windows/full_disk.sh)
  add_test(NAME windows_full_disk_mount COMMAND bash ${full_disk_script} mount ${full_disk_dir})
  add_test(NAME windows_full_disk_unmount COMMAND bash ${full_disk_script} unmount
                                                   ${full_disk_dir})
  set_tests_properties(windows_full_disk_mount PROPERTIES FIXTURES_SETUP windows_full_disk)
  set_tests_properties(windows_full_disk_unmount PROPERTIES FIXTURES_CLEANUP windows_full_disk)
  set_property(TEST windows_export_test APPEND PROPERTY FIXTURES_REQUIRED windows_full_disk)
endif()
