# The README's picture of the window is taken by a program that drives Vorlund.exe like the
# acceptance suite (scripts/screenshot.sh --after-run runs it); built with the tests, not one.
if(WIN32)
  add_executable(window_picture ${CMAKE_CURRENT_SOURCE_DIR}/program/window_picture.cpp)
  target_include_directories(window_picture PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}
                                                    ${CMAKE_CURRENT_SOURCE_DIR}/program)
  target_link_libraries(window_picture PRIVATE vorlund_test_support)
  add_dependencies(window_picture Vorlund)
endif()
