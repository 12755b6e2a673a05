# A linker launcher for the release test (scripts/release_test.sh): writes the
# environment the link step runs in to QEL_ENV_DUMP, then runs the link
# command it was given and ends as that did.
#   cmake -DQEL_ENV_DUMP=FILE -P release_env_dump.cmake -- COMMAND...
execute_process(COMMAND ${CMAKE_COMMAND} -E environment OUTPUT_FILE ${QEL_ENV_DUMP})
set(command)
set(after_dashes FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(after_dashes)
    list(APPEND command "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} STREQUAL "--")
    set(after_dashes TRUE)
  endif()
endforeach()
execute_process(COMMAND ${command} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the link command failed: ${result}")
endif()
