#!/bin/sh
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for a
# bounded time from its seed corpus: scripts/fuzz.sh [seconds]
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-60}"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_FUZZ=ON -DCORVANE_WERROR=OFF >/dev/null
ninja -C build/fuzz -j2 fuzz_skype_message
work="build/fuzz/corpus-skype_message"
mkdir -p "$work"
ASAN_OPTIONS=detect_leaks=0 build/fuzz/fuzz_skype_message -max_total_time="$seconds" -max_len=4096 \
    -print_final_stats=1 "$work" fuzz/corpus/skype_message
