#!/bin/sh
# Runs the companion in the simulated world on a script:
#   scripts/sim.sh examples/key-path.txt [--log] [more corvane-sim options]
# or, without a script, holds the handset in the terminal:
#   scripts/sim.sh [--no-display] [--settings FILE] [--log]
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh >&2
scripts/build.sh normal >&2
case "${1:-}" in
    ""|-*) exec build/normal/corvane-sim "$@" ;;
    *) exec build/normal/corvane-sim --script "$@" ;;
esac
