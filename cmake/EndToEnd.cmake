# The end-to-end test: `cmake --install` into a temporary prefix, then the installed program in
# real windows on a virtual display, driven with xdotool against the test server
# (scripts/e2e-test.sh). Exit code 77 marks it skipped where no virtual display can start.
add_test(NAME e2e COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/e2e-test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(e2e PROPERTIES
    SKIP_RETURN_CODE 77
    TIMEOUT 1800
    # It drops and creates tables on the shared test server.
    RESOURCE_LOCK quorvex_test_server
    # No strict_string_checks here: on a real display libxkbcommon-x11 calls strndup on atom
    # names that are not NUL-terminated, which is correct use yet fails that extra check.
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
