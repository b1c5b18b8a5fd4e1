# Folder listing: the benchmark that lists a large tree into the main window under Wine (not a
# test; bench/list_bench.sh makes the tree and runs it). Built with the Windows tests so that it
# keeps compiling.
if(WIN32)
  add_executable(list_bench ${CMAKE_SOURCE_DIR}/bench/list_bench.cpp
                            ${CMAKE_SOURCE_DIR}/app/vorlund.rc)
  target_link_libraries(list_bench PRIVATE vorlund_win)
  set_target_properties(list_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endif()
