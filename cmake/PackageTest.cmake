# The Debian package (scripts/package-test.sh): built with cpack from this build, installed into
# a throwaway root, run, and removed without a trace.
add_test(NAME package COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/package-test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(package PROPERTIES
    TIMEOUT 600
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
