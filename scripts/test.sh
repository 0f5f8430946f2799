#!/bin/sh
# Installs what is needed, then builds and runs every test three times: a
# normal build, AddressSanitizer + UndefinedBehaviorSanitizer, and
# ThreadSanitizer; builds the Windows program, its installer and its tests
# with MinGW-w64 and runs those under Wine; then runs every fuzz target for 20 seconds (the
# notification parser, the settings and language file reader, the handset's
# input reports). Fails if any run fails or runs no test, or a fuzz target
# finds a crash, a leak or a hang.
set -eu
cd "$(dirname "$0")/.."
variants="${CORVANE_VARIANTS:-normal asan tsan windows}"
# Each phase's time, so a run's log shows where its minutes went.
phase_start=$(date +%s)
phase_done() {
    now=$(date +%s)
    echo "=== $1: $((now - phase_start)) s ===" >&2
    phase_start=$now
}
scripts/setup.sh
phase_done "set-up"
for variant in $variants; do
    echo "=== $variant build ===" >&2
    scripts/build.sh "$variant"
    phase_done "$variant build"
    case "$variant" in
        asan) export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ;;
        tsan) export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 ;;
    esac
    echo "=== $variant tests ===" >&2
    ctest --test-dir "build/$variant" --output-on-failure --no-tests=error -j2 --timeout 300
    phase_done "$variant tests"
done
if [ -z "${CORVANE_VARIANTS:-}" ] || [ "${CORVANE_FUZZ_SECONDS:-}" != "" ]; then
    echo "=== fuzzing ===" >&2
    scripts/fuzz.sh "${CORVANE_FUZZ_SECONDS:-20}"
    phase_done "fuzzing (build and runs)"
fi
