#!/bin/sh
# Runs the companion in the simulated world on a script:
#   scripts/sim.sh examples/key-path.txt [--log] [more corvane-sim options]
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh >&2
scripts/build.sh normal >&2
exec build/normal/corvane-sim --script "$@"
