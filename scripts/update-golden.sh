#!/bin/sh
# Regenerates the expected transcript beside every example script after a
# deliberate change: examples/NAME.txt -> examples/NAME.expected (with the
# debug log lines, as the golden-transcript test compares them). Review the
# diff before committing it.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh >&2
scripts/build.sh normal >&2
for script in examples/*.txt; do
    expected="${script%.txt}.expected"
    build/normal/corvane-sim --script "$script" --log > "$expected"
    echo "wrote $expected" >&2
done
