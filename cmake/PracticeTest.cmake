# The run command's practice mode (scripts/practice-test.sh): the run command started headless
# with a throwaway home, using this build's program, against a practice server of its own.
add_test(NAME practice
         COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/practice-test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(practice PROPERTIES
    TIMEOUT 1200
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
