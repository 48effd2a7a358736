#!/usr/bin/env bash
# Builds the boot-sector fuzz target with clang in its own build folder and runs it for a
# bounded time. Usage: scripts/fuzz-bootsector.sh [seconds]   (default 30)
# VOLMARA_FUZZ_BUILD_DIR overrides the build folder (default: build-fuzz in the source tree).
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
cmake --build "$build" --target fuzz_boot_sector -j2

corpus="$build/fuzz/corpus/boot_sector"
seeds="$build/fuzz/seeds/boot_sector"
mkdir -p "$corpus" "$seeds"

# Seeds: the start of real volumes, each behind the selector byte naming its file system
# (0 FAT12, 1 FAT16, 2 FAT32, 3 NTFS).
find_tool() {
  local name="$1" dir
  for dir in /usr/sbin /sbin $(tr ':' ' ' <<<"${PATH:-}"); do
    [ -x "$dir/$name" ] && { echo "$dir/$name"; return 0; }
  done
  return 1
}
make_seed() {
  local selector="$1" image="$2"
  { printf "\\x$selector"; head -c 8191 "$image"; } >"$seeds/$(basename "$image").seed"
}
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
if mkfs_fat="$(find_tool mkfs.fat)"; then
  "$mkfs_fat" -F 12 -C -n SEED12 "$work/fat12.img" 1440 >/dev/null && make_seed 00 "$work/fat12.img"
  "$mkfs_fat" -F 16 -C -n SEED16 "$work/fat16.img" 16384 >/dev/null && make_seed 01 "$work/fat16.img"
  "$mkfs_fat" -F 32 -C -s 1 -n SEED32 "$work/fat32.img" 40960 >/dev/null && make_seed 02 "$work/fat32.img"
fi
if mkntfs="$(find_tool mkntfs)"; then
  truncate -s 8M "$work/ntfs.img"
  "$mkntfs" -F -Q -q "$work/ntfs.img" >/dev/null && make_seed 03 "$work/ntfs.img"
fi

"$build/fuzz/fuzz_boot_sector" \
  -max_total_time="$seconds" \
  -max_len=8192 \
  -print_final_stats=1 \
  "$corpus" "$seeds"
