#!/usr/bin/env bash
# Configures and builds Volmara, Kelvane, the tests and the benchmarks into build/ (or $1).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOLMARA_WERROR=ON
cmake --build "$build" -j"$(nproc)"
