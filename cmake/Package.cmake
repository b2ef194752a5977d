# A Debian package of what `cmake --install` puts down (cmake/Install.cmake), under /usr:
#
#   cmake --build BUILD && (cd BUILD && cpack)     ->  BUILD/quorvex_VERSION_ARCH.deb
#
# The libraries the program links are found by dpkg-shlibdeps; what it loads at run time is
# named here: Qt SQL's ODBC driver (its only way to Oracle) and the fonts its windows are laid
# out for. Removing the package removes every file it installed, the samples included.
# Debian's checker, lintian, passes it without an error or a warning (scripts/package-test.sh).

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Veltrane)
set(CPACK_PACKAGE_CONTACT "Quorvex support <support@quorvex.example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Copies Paradox tables into Oracle through ODBC")
# The extended description as Debian shows it: lines under 80 columns, each indented by one
# space when packed.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Quorvex lists, deletes and renames the tables of a Paradox folder and of"
    "an Oracle login, and copies Paradox tables into Oracle row by row, from"
    "its window or from the command line (quorvex send, quorvex list,"
    "quorvex verify).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The program goes in stripped; its debug symbols stay in the build folder's copy.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-odbc, fonts-liberation")
# isql and odbcinst, to register and check the Oracle driver (README, "Reaching a real Oracle
# server").
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "unixodbc")
include(CPack)
