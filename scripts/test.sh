#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, and runs every test.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/install-deps.sh"
bash "$here/scripts/build.sh" "$here/build"
cd "$here/build"
ctest --output-on-failure --timeout 300 -j"$(nproc)"
