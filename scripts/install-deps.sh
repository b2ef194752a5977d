#!/usr/bin/env bash
# Installs everything Quorvex needs to build, run and test on Debian 12. Quick when nothing is
# missing: only the packages that are not installed yet are fetched.
set -euo pipefail

packages=(
    # build, and the Debian package (cpack; dpkg-shlibdeps finds its library dependencies)
    cmake ninja-build g++ pkg-config qt6-base-dev libqt6sql6-odbc unixodbc unixodbc-dev dpkg-dev
    # the manual page, written from the program's --help; the package test checks the package
    # with Debian's checker and renders the page
    help2man lintian man-db
    # the window manager's frame is asked for through XCB before a window is first shown
    libxcb1-dev
    # the program's fonts (Liberation Sans stands in for Arial)
    fonts-liberation
    # tests, benchmarks and the sanitizer and fuzzing builds; the practice test finds the
    # program's process with ps
    libgtest-dev libbenchmark-dev clang-format clang-14 libclang-rt-14-dev procps
    # the test server: PostgreSQL with Oracle compatibility, reached through psqlODBC
    postgresql-15 postgresql-15-orafce odbc-postgresql
    # screen checks under a virtual display; the end-to-end test and the screenshots drive real
    # windows, which needs a window manager (openbox) and the window inspectors of x11-utils
    xvfb xauth xdotool imagemagick openbox x11-utils
    # the start-up benchmark watches the X server for the first window through Xlib
    libx11-dev
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    if [[ "$status" != "install ok installed" ]]; then
        missing+=("$package")
    fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
        echo "Missing packages (${missing[*]}) and no sudo to install them: run this script as root." >&2
        exit 1
    fi
    as_root=(sudo)
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
# Installing postgresql-15 on a fresh machine creates and starts a default cluster; the tests
# never use it (they start their own throwaway server on a socket of their own).
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
