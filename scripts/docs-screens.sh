#!/bin/sh
# Renders the screen pictures under docs/ from the current code.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh >&2
scripts/build.sh normal >&2
build/normal/corvane-docs-screens docs
