# The set-up's verification of a made 32-bit Wine reads files only: it is tested on Linux.
if(NOT WIN32 AND NOT VORLUND_SANITIZE)
  add_test(NAME wine32_root_test COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/wine32_root_test.sh)
endif()
