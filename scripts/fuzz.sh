#!/bin/sh
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each in turn
# for a bounded time from its seed corpus: scripts/fuzz.sh [seconds per target]
# (20 unless given). Fails when any target finds a crash, a leak or a hang;
# ends with each target's executions, executions per second and peak memory.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-20}"
targets="skype_message profile_reader input_report wave_reader"
out=build/fuzz
unity="-DCMAKE_UNITY_BUILD=OFF"
if [ "${CORVANE_UNITY:-1}" = 1 ]; then
    unity="-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=8"
fi
CC=clang CXX=clang++ cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_FUZZ=ON -DCORVANE_WERROR=OFF $unity >/dev/null
ninja -C "$out" -j2 $(for t in $targets; do printf 'fuzz_%s ' "$t"; done)
mkdir -p "$out/artifacts"

# ASan keeps freed memory aside to catch late uses; 32 MB of it is plenty for
# inputs of 4 KB and keeps the peak memory that of the program and corpus.
export ASAN_OPTIONS="detect_leaks=1:quarantine_size_mb=32"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

final_stat() { sed -n "s/^stat::$1: *//p" "$2" | tail -n 1; }

failed=""
summary=""
for t in $targets; do
    work="$out/corpus-$t"
    log="$out/fuzz-$t.log"
    mkdir -p "$work"
    echo "=== fuzzing $t for $seconds s ===" >&2
    status=ok
    if ! "$out/fuzz_$t" -max_total_time="$seconds" -max_len=4096 -timeout=25 -print_final_stats=1 \
        -artifact_prefix="$out/artifacts/$t-" "$work" "fuzz/corpus/$t" >"$log" 2>&1; then
        status=FAILED
        failed="$failed $t"
        tail -n 60 "$log" >&2
    fi
    summary="$summary$(printf '%-16s %-7s %12s %10s %10s' "$t" "$status" "$(final_stat number_of_executed_units "$log")" \
        "$(final_stat average_exec_per_sec "$log")" "$(final_stat peak_rss_mb "$log")")
"
done

printf '%-16s %-7s %12s %10s %10s\n' target result executions "execs/s" "peak MB"
printf '%s' "$summary"
if [ -n "$failed" ]; then
    echo "fuzzing found faults in:$failed (inputs in $out/artifacts, logs in $out/fuzz-*.log)" >&2
    exit 1
fi
