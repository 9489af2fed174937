# Fails unless each pattern of the GoogleTest filter FILTER (patterns joined
# by ':', no negative part) names at least one test of PROGRAM, so that a
# positive filter cannot lose a renamed suite without a word.
#   cmake -DPROGRAM=... -DFILTER=... -P check_gtest_filter.cmake
string(REPLACE ":" ";" patterns "${FILTER}")
foreach(pattern IN LISTS patterns)
  execute_process(COMMAND ${PROGRAM} --gtest_list_tests --gtest_filter=${pattern}
    OUTPUT_VARIABLE listed RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} cannot list its tests")
  endif()
  # Suites are listed flush left, their tests indented beneath.
  if(NOT listed MATCHES "\n  [^\n]")
    message(FATAL_ERROR "the filter's pattern ${pattern} names no test of ${PROGRAM}")
  endif()
endforeach()
message(STATUS "each of ${FILTER} names tests of ${PROGRAM}")
