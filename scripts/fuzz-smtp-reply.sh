#!/usr/bin/env bash
# Builds the mail reply fuzz target with clang in its own build folder and runs it for a
# bounded time. Usage: scripts/fuzz-smtp-reply.sh [seconds]   (default 30)
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
cmake --build "$build" --target fuzz_smtp_reply -j2

corpus="$build/fuzz/corpus/smtp_reply"
seeds="$build/fuzz/seeds/smtp_reply"
mkdir -p "$corpus" "$seeds"

# Seeds: replies a server sends (selector byte 0) and report bodies (selector byte 1).
printf '\x00220 mail.example.com ESMTP ready\r\n' >"$seeds/greeting"
printf '\x00250-mail.example.com\r\n250-SIZE 10240000\r\n250 HELP\r\n' >"$seeds/multiline"
printf '\x00554 5.7.25 rejected\r\n221 bye\n' >"$seeds/rejected"
printf '\x01Listed Drive/Path(s)\r\n=============\r\n.\r\n.hidden\nlast' >"$seeds/body"
printf '\x01row<br>row<br>\r' >"$seeds/html"

"$build/fuzz/fuzz_smtp_reply" \
  -max_total_time="$seconds" \
  -max_len=4096 \
  -print_final_stats=1 \
  "$corpus" "$seeds"
