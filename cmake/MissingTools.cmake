# Tests and benchmarks are built only when their tools are found: the program
# itself needs nothing but a C++ compiler and CMake. Whatever is left out is
# named once, at the end of configuring; and when a test suite is left out, a
# placeholder test fails with the same words, so that `ctest` cannot pass
# without having run every test.

# Records that `tool` (Debian package `package`) was not found, so `what` is
# not built. TEST_SUITE marks `what` as tests that `ctest` would run.
function(quorvantile_missing tool package what)
  cmake_parse_arguments(PARSE_ARGV 3 arg "TEST_SUITE" "" "")
  set_property(GLOBAL APPEND PROPERTY quorvantile_not_built "  ${what}: needs ${tool} (${package})")
  set_property(GLOBAL APPEND PROPERTY quorvantile_missing_packages "${package}")
  if(arg_TEST_SUITE)
    set_property(GLOBAL PROPERTY quorvantile_tests_missing TRUE)
  endif()
endfunction()

# Called once, from the top directory, after every subdirectory.
function(quorvantile_report_missing)
  get_property(not_built GLOBAL PROPERTY quorvantile_not_built)
  if(NOT not_built)
    return()
  endif()
  get_property(packages GLOBAL PROPERTY quorvantile_missing_packages)
  list(JOIN not_built "\n" not_built)
  list(JOIN packages " " packages)
  string(CONCAT text "Not built, as their tools were not found:\n${not_built}\n"
                "To build and run them, install the tools and configure again. On Debian:\n"
                "  apt-get install ${packages}")
  message(WARNING "${text}")

  get_property(tests_missing GLOBAL PROPERTY quorvantile_tests_missing)
  if(tests_missing)
    add_test(NAME test_tools_missing COMMAND ${CMAKE_COMMAND} -E echo "${text}")
    # The placeholder fails on its own message.
    set_tests_properties(test_tools_missing PROPERTIES FAIL_REGULAR_EXPRESSION "Not built")
  endif()
endfunction()
