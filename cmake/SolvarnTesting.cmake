# solvarn_qt_test_verdict(<test names...>)
# A Qt Test suite passes only where Qt Test's own totals say that nothing failed, whatever its
# exit status: a check that ends the test's process early (with status 0) must not hide the
# failures before it, nor the rows that never ran. A failure line, or a sanitizer's report
# after the totals (the exit status no longer counts), fails it all the same. Skipping through
# SKIP_RETURN_CODE still works.
function(solvarn_qt_test_verdict)
    set_tests_properties(${ARGN} PROPERTIES
        PASS_REGULAR_EXPRESSION "Totals: [0-9]+ passed, 0 failed"
        FAIL_REGULAR_EXPRESSION "FAIL!;ERROR: [A-Za-z]+Sanitizer;runtime error:")
endfunction()

# solvarn_add_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>] [TIMEOUT <s>])
# Builds one Qt Test executable and registers it with CTest on the offscreen platform.
function(solvarn_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${SOLVARN_TEST_ENV}"
        TIMEOUT ${ARG_TIMEOUT}
        LABELS "${ARG_LABELS}")
    solvarn_qt_test_verdict(${name})
endfunction()

# solvarn_add_benchmark(<name> SOURCES <files...> LIBS <targets...>)
# Benchmarks build with the tests but run only on request: `ctest -L bench`, or the binary itself.
# The test command leaves them out with `-LE bench`.
function(solvarn_add_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT SOLVARN_BENCHMARKS)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${SOLVARN_TEST_ENV}"
        LABELS "bench")
    solvarn_qt_test_verdict(${name})
endfunction()
