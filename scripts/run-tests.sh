#!/usr/bin/env bash
# The test command: installs what is missing, builds everything with AddressSanitizer and
# UBSan, starts a throwaway test server, runs every test through ctest, stops the server (also
# on failure or interrupt) and exits non-zero when anything failed. Its last lines count the test
# cases that ran and those skipped, and say why each was skipped.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVEX_SANITIZE=ON \
    -DQUORVEX_TESTS=ON -DQUORVEX_BENCH=ON
cmake --build build-test -j2

# The server lives in a fresh short folder (its socket path must stay under 108 bytes) and is
# stopped however this script ends. The folder name holds no "." on purpose: the SID is this
# folder, and the ODBC layer misreads any connection string containing ".dsn".
server_dir=$(mktemp -d /tmp/qvx-XXXXXX)
stop_server() { bash "$root/scripts/test-server.sh" stop "$server_dir" || true; }
trap stop_server EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
bash scripts/test-server.sh start "$server_dir"

# libpq inside the ODBC driver would complete a connection string from these: the tests must
# see only what the program itself passes.
unset PGHOST PGHOSTADDR PGPORT PGUSER PGPASSWORD PGPASSFILE PGDATABASE PGSERVICE PGSERVICEFILE
export ODBCSYSINI="$server_dir"
export QUORVEX_TEST_SID="$server_dir/sock"
export QUORVEX_TEST_LOG="$server_dir/postgres.log"

# Every test program leaves its cases in build-test/test-results and ctest its own list there:
# the closing lines count what ran and say why anything was skipped.
source scripts/lib/test-summary.sh
results=$root/build-test/test-results
rm -rf "$results"
mkdir -p "$results"
failed=0
ctest --test-dir build-test --output-on-failure --output-junit "$results/ctest.xml" || failed=1
summary_status=0
summary=$(summarise_tests "$results") || summary_status=$?

# The run command builds optimised; GCC reports some warnings only there, and -Werror makes them
# errors, so the optimised program is built here too.
cmake -S . -B build-release-check -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEX_SANITIZE=OFF \
    -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=OFF >/dev/null
cmake --build build-release-check -j2 || failed=1

if [[ -f scripts/fuzz-smoke.sh ]]; then
    bash scripts/fuzz-smoke.sh || failed=1
fi

echo
echo "$summary"
if ((failed)); then
    echo "Some tests FAILED." >&2
    exit 1
fi
case $summary_status in
0) echo "All tests passed; every test case ran." ;;
1) echo "All tests passed, but the test cases SKIPPED above did not run." ;;
*) echo "No test results were found: nothing is known to have passed." >&2 && exit 1 ;;
esac
