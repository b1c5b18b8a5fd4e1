# The resources test reads the program file's version resource with the system's version
# functions.
if(TARGET program_resources_test)
  target_link_libraries(program_resources_test PRIVATE version)
endif()
