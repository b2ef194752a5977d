# The manual page, quorvex(1), written at build time by help2man from the built program's own
# --help and each command's (packaging/manual-help.sh), with the sections --help does not hold
# from packaging/quorvex.h2m: every option on the page is one the program takes. Also the
# changelog the Debian package carries. Both are installed gzip-compressed (-9n: no name or
# time stamp inside, so that the same sources give the same files).

set(QUORVEX_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(QUORVEX_MANUAL ${CMAKE_BINARY_DIR}/man/quorvex.1)
set(QUORVEX_CHANGELOG ${CMAKE_BINARY_DIR}/doc/changelog)

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUORVEX_PACKAGING_DIR}/changelog)
# The changelog's newest entry names the version being built; a version raised without an
# entry for it would make the package's changelog lie.
file(STRINGS ${QUORVEX_PACKAGING_DIR}/changelog quorvex_changelog_head LIMIT_COUNT 1)
if(NOT quorvex_changelog_head MATCHES "^quorvex \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog starts with \"${quorvex_changelog_head}\": "
                        "add an entry for version ${PROJECT_VERSION} on top")
endif()

# The page is dated by the newest changelog entry, not by the day it was built (unless the
# build sets SOURCE_DATE_EPOCH itself).
file(STRINGS ${QUORVEX_PACKAGING_DIR}/changelog quorvex_changelog_signoff REGEX "^ -- .*  "
     LIMIT_COUNT 1)
string(REGEX REPLACE "^ -- .*  " "" quorvex_release_date "${quorvex_changelog_signoff}")
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(quorvex_manual_epoch $ENV{SOURCE_DATE_EPOCH})
else()
    execute_process(COMMAND date -u -d "${quorvex_release_date}" +%s
                    OUTPUT_VARIABLE quorvex_manual_epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
endif()

find_program(QUORVEX_GZIP gzip REQUIRED)
find_program(QUORVEX_HELP2MAN help2man)

add_custom_command(
    OUTPUT ${QUORVEX_CHANGELOG}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${QUORVEX_PACKAGING_DIR}/changelog ${QUORVEX_CHANGELOG}
    COMMAND ${QUORVEX_GZIP} -9nf ${QUORVEX_CHANGELOG}
    DEPENDS ${QUORVEX_PACKAGING_DIR}/changelog
    VERBATIM)
set(quorvex_documents ${QUORVEX_CHANGELOG}.gz)

if(QUORVEX_HELP2MAN)
    # The program runs here only to print its help: a sanitized build's leak check at its exit
    # has nothing to say about that, and must not fail the build.
    add_custom_command(
        OUTPUT ${QUORVEX_MANUAL}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND ${CMAKE_COMMAND} -E env QUORVEX_PROGRAM=$<TARGET_FILE:quorvex>
                ASAN_OPTIONS=detect_leaks=0 LC_ALL=C.UTF-8
                SOURCE_DATE_EPOCH=${quorvex_manual_epoch}
                ${QUORVEX_HELP2MAN} --include=${QUORVEX_PACKAGING_DIR}/quorvex.h2m
                --output=${QUORVEX_MANUAL} ${QUORVEX_PACKAGING_DIR}/manual-help.sh
        COMMAND ${QUORVEX_GZIP} -9nkf ${QUORVEX_MANUAL}
        DEPENDS quorvex ${QUORVEX_PACKAGING_DIR}/quorvex.h2m
                ${QUORVEX_PACKAGING_DIR}/manual-help.sh
        VERBATIM)
    list(APPEND quorvex_documents ${QUORVEX_MANUAL}.gz)
else()
    message(WARNING "help2man not found (scripts/install-deps.sh installs it): the manual page "
                    "is neither built nor installed")
endif()
add_custom_target(quorvex_documents ALL DEPENDS ${quorvex_documents})
