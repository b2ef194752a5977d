#!/usr/bin/env bash
# The run command: installs what is missing, builds the program (optimised, no sanitizers) and
# starts it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEX_SANITIZE=OFF \
    -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=OFF
cmake --build build -j2

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "Quorvex is a desktop program and needs a graphical session (no DISPLAY is set)." >&2
fi
exec build/bin/quorvex "$@"
