#!/usr/bin/env bash
# Builds the Paradox table reader's fuzz target (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in its own build folder, replays every saved crash regression,
# then fuzzes for a while starting from the seed corpus. Exits non-zero when an input crashes
# the reader.
#
# Environment: QUORVEX_FUZZ_SECONDS (default 60), QUORVEX_FUZZ_BUILD (default build-fuzz),
# QUORVEX_FUZZ_CORPUS (a folder kept between runs; default a temporary one).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORVEX_FUZZ_BUILD:-$root/build-fuzz}
seconds=${QUORVEX_FUZZ_SECONDS:-60}
seeds=$root/tools/fuzz/seeds
regressions=$root/tools/fuzz/regressions

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 \
    -DQUORVEX_FUZZ=ON -DQUORVEX_SANITIZE=ON -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_paradox_table -j2
fuzzer=$build/bin/fuzz_paradox_table

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
corpus=${QUORVEX_FUZZ_CORPUS:-$work/corpus}
# Inputs that crash are kept in the build folder, to be added to tools/fuzz/regressions.
artifacts=$build/fuzz-artifacts
mkdir -p "$corpus" "$artifacts"

# Inputs that once crashed the reader must now pass; given as files they each run once.
mapfile -t saved < <(find "$regressions" -type f ! -name '*.md' | sort)
if [[ ${#saved[@]} -gt 0 ]]; then
    echo "Replaying ${#saved[@]} saved crash inputs"
    "$fuzzer" "${saved[@]}"
fi

echo "Fuzzing the table reader for ${seconds} s"
if ! nice -n 19 "$fuzzer" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" "$seeds"; then
    echo "The fuzzer found an input that breaks the table reader; it is kept in $artifacts" >&2
    exit 1
fi
