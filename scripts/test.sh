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
scripts/setup.sh
variants="${CORVANE_VARIANTS:-normal asan tsan windows}"
for variant in $variants; do
    echo "=== $variant build ===" >&2
    scripts/build.sh "$variant"
    case "$variant" in
        asan) export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ;;
        tsan) export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 ;;
    esac
    echo "=== $variant tests ===" >&2
    ctest --test-dir "build/$variant" --output-on-failure --no-tests=error -j2 --timeout 300
done
if [ -z "${CORVANE_VARIANTS:-}" ] || [ "${CORVANE_FUZZ_SECONDS:-}" != "" ]; then
    echo "=== fuzzing ===" >&2
    scripts/fuzz.sh "${CORVANE_FUZZ_SECONDS:-20}"
fi
