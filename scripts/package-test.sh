#!/usr/bin/env bash
# The Debian package (cmake/Package.cmake): built with cpack from the given build, it names the
# libraries and plugins the program needs, installs the program, the `quorvex` command, the
# samples, the menu entry, the icon, the manual page and the shell completion, runs from there,
# and its removal leaves no file behind. It is installed into a throwaway root of its own
# (dpkg --root), never into the machine's. Debian's checker, lintian, must find no error and no
# warning in it, and man must render its manual page without a warning.
#
#   package-test.sh BUILD_DIR
set -euo pipefail

build=$(cd "${1:?usage: package-test.sh BUILD_DIR}" && pwd)
work=$(mktemp -d /tmp/qvx-package-XXXXXX)
trap 'rm -rf -- "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

echo "Building the package"
(cd "$build" && cpack -G DEB -B "$work/out" -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
package=$(ls "$work"/out/quorvex_*.deb)

echo "Checking it with lintian"
# Info and pedantic tags are advice; an error or a warning fails.
lintian --fail-on error,warning "$package" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log" >&2; fail "lintian finds errors or warnings in the package"; }

depends=$(dpkg-deb -f "$package" Depends)
for needed in libqt6sql6-odbc fonts-liberation libodbc2 libodbcinst2 libqt6widgets6 libqt6sql6; do
    [[ ", $depends," == *", $needed "* || ", $depends," == *", $needed,"* ]] ||
        fail "the package does not depend on $needed: $depends"
done

echo "Installing it into a throwaway root"
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status"
dpkg_root() { dpkg --root="$root" --log=/dev/null --force-depends --force-script-chrootless "$@"; }
dpkg_root -i "$package" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -i failed"; }
for file in usr/lib/quorvex/quorvex usr/lib/quorvex/HAND-M.CUR usr/lib/quorvex/x/o.cjs \
    usr/lib/quorvex/Samples/CUSTOMER.DB usr/lib/quorvex/Samples/ORDERS98.DB \
    usr/share/applications/quorvex.desktop usr/share/icons/hicolor/64x64/apps/quorvex.png \
    usr/share/man/man1/quorvex.1.gz usr/share/bash-completion/completions/quorvex \
    usr/share/doc/quorvex/copyright usr/share/doc/quorvex/changelog.gz; do
    [[ -f "$root/$file" ]] || fail "the package did not install /$file"
done
[[ "$(readlink "$root/usr/bin/quorvex")" == ../lib/quorvex/quorvex ]] ||
    fail "/usr/bin/quorvex is not the link to the program"
version=$("$root/usr/bin/quorvex" --version) || fail "the installed program does not run"
[[ "$version" == "quorvex $(dpkg-deb -f "$package" Version)" ]] || fail "it says: $version"
listed=$("$root/usr/bin/quorvex" list --paradox --folder "$root/usr/lib/quorvex/Samples")
grep -qx CUSTOMER <<<"$listed" || fail "the installed samples do not list: $listed"

echo "Reading its manual page"
manual=$root/usr/share/man/man1/quorvex.1.gz
LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$manual" \
    >"$work/manual.txt" 2>"$work/manual.log" || fail "man cannot render the page"
[[ ! -s "$work/manual.log" ]] || fail "man warns about the page: $(cat "$work/manual.log")"
# The page is written from --help: every option a command's help names is on it.
for command in send list verify; do
    grep -q "^QUORVEX ${command^^}" "$work/manual.txt" || fail "the page has no $command section"
    for option in $("$root/usr/bin/quorvex" "$command" --help | grep -o -- '--[a-z-]*[a-z]' | sort -u); do
        grep -q -- "$option" "$work/manual.txt" || fail "the page does not name $command $option"
    done
done

echo "Completing its commands in bash"
completes() {  # completes WORD... : what bash offers for the last word
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _quorvex
        printf "%s\n" "${COMPREPLY[@]}"' _ "$root/usr/share/bash-completion/completions/quorvex" "$@"
}
[[ "$(completes quorvex ver)" == verify ]] || fail "bash does not complete the command verify"
[[ "$(completes quorvex send --re)" == $'--resume\n--report\n--rejects' ]] ||
    fail "bash completes quorvex send --re as: $(completes quorvex send --re)"
[[ "$(completes quorvex send --folder "$root/usr/lib/quorvex/Samples" CUST)" == CUSTOMER ]] ||
    fail "bash does not complete the folder's table names"

echo "Removing it"
dpkg_root -r quorvex >>"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -r failed"; }
left=$(find "$root" -path "$root/var" -prune -o \( -type f -o -type l \) -print)
[[ -z "$left" ]] || fail "removing the package left: $left"
[[ ! -e "$root/usr/lib/quorvex" ]] || fail "removing the package left /usr/lib/quorvex"
echo "PASSED: the package installs, runs and is removed cleanly ($(basename "$package"))"
