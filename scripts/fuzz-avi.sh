#!/usr/bin/env bash
# Builds the clip-reader fuzz target with clang in its own build folder and runs it for a
# bounded time, seeded with the shipped clips and sound. Usage: scripts/fuzz-avi.sh [seconds]
# (default 30). VOLMARA_FUZZ_BUILD_DIR overrides the build folder (default: build-fuzz).
set -euo pipefail

seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [seconds]" >&2
  exit 2
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VOLMARA_FUZZ_BUILD_DIR:-$root/build-fuzz}"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DVOLMARA_BUILD_FUZZ=ON \
  -DVOLMARA_BUILD_TESTS=OFF \
  -DVOLMARA_BUILD_BENCH=OFF
cmake --build "$build" --target fuzz_avi_clip -j2

corpus="$build/fuzz/corpus/avi_clip"
seeds="$build/fuzz/seeds/avi_clip"
mkdir -p "$corpus" "$seeds"
cp "$root/assets/spin.avi" "$root/assets/alert.avi" "$root/assets/sound/alert.WAV" "$seeds/"

"$build/fuzz/fuzz_avi_clip" \
  -max_total_time="$seconds" \
  -max_len=65536 \
  -print_final_stats=1 \
  "$corpus" "$seeds"
