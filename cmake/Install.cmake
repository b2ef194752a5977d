# Installs Quorvex as a Linux desktop program:
#
#   PREFIX/lib/quorvex/          the program and everything it looks for beside itself
#                                (HAND-M.CUR, x/o.cjs, Samples/, quorvex.png)
#   PREFIX/bin/quorvex           a relative link to ../lib/quorvex/quorvex, the command on the PATH
#   PREFIX/share/applications/   the menu entry
#   PREFIX/share/icons/hicolor/  the icon
#   PREFIX/share/man/man1/       the manual page, quorvex.1.gz (cmake/Manual.cmake)
#   PREFIX/share/bash-completion/completions/quorvex
#                                the shell's completion of commands, options and table names
#   PREFIX/share/doc/quorvex/    copyright and changelog.gz
#
# The program finds its folder through /proc/self/exe, which names the real file behind the
# link, so the files beside it are found however it was started.

set(QUORVEX_INSTALL_PROGRAM_DIR lib/quorvex)
set(QUORVEX_RESOURCES_DIR ${CMAKE_SOURCE_DIR}/resources)
include(${CMAKE_CURRENT_LIST_DIR}/Manual.cmake)

install(TARGETS quorvex RUNTIME DESTINATION ${QUORVEX_INSTALL_PROGRAM_DIR})
install(FILES ${QUORVEX_RESOURCES_DIR}/HAND-M.CUR ${QUORVEX_RESOURCES_DIR}/quorvex.png
        DESTINATION ${QUORVEX_INSTALL_PROGRAM_DIR})
install(FILES ${QUORVEX_RESOURCES_DIR}/o.cjs DESTINATION ${QUORVEX_INSTALL_PROGRAM_DIR}/x)

# The sample tables are written afresh into the installed folder by the same writer the build
# uses, rather than copied from the build folder: a user trying the program from the build
# folder may have deleted or renamed sample tables there.
if(TARGET make_samples)
    install(CODE "set(quorvex_make_samples \"$<TARGET_FILE:make_samples>\")")
    install(CODE [[
        set(quorvex_samples_dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/lib/quorvex/Samples")
        message(STATUS "Writing the sample tables: ${quorvex_samples_dir}")
        execute_process(COMMAND "${quorvex_make_samples}" "${quorvex_samples_dir}"
                        RESULT_VARIABLE quorvex_samples_result)
        if(NOT quorvex_samples_result EQUAL 0)
            message(FATAL_ERROR "Writing the sample tables failed (${quorvex_samples_result})")
        endif()
        file(GLOB_RECURSE quorvex_sample_files "${quorvex_samples_dir}/*")
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES ${quorvex_sample_files})
    ]])
endif()

install(FILES ${QUORVEX_RESOURCES_DIR}/quorvex.desktop DESTINATION share/applications)
install(FILES ${QUORVEX_RESOURCES_DIR}/quorvex.png
        DESTINATION share/icons/hicolor/64x64/apps)
if(EXISTS ${QUORVEX_RESOURCES_DIR}/quorvex.svg)
    install(FILES ${QUORVEX_RESOURCES_DIR}/quorvex.svg
            DESTINATION share/icons/hicolor/scalable/apps)
endif()

if(QUORVEX_HELP2MAN)
    install(FILES ${QUORVEX_MANUAL}.gz DESTINATION share/man/man1)
endif()
install(FILES ${QUORVEX_PACKAGING_DIR}/quorvex.bash-completion
        DESTINATION share/bash-completion/completions RENAME quorvex)
install(FILES ${QUORVEX_PACKAGING_DIR}/copyright ${QUORVEX_CHANGELOG}.gz
        DESTINATION share/doc/quorvex)

# The command on the PATH. A relative link keeps the installed tree movable (DESTDIR staging,
# packaging) and lets the program see its real folder.
install(CODE [[
    set(quorvex_bin_dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
    file(MAKE_DIRECTORY "${quorvex_bin_dir}")
    message(STATUS "Installing: ${quorvex_bin_dir}/quorvex -> ../lib/quorvex/quorvex")
    file(CREATE_LINK ../lib/quorvex/quorvex "${quorvex_bin_dir}/quorvex" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${quorvex_bin_dir}/quorvex")
]])
