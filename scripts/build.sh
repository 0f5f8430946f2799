#!/bin/sh
# Configures and builds one variant: scripts/build.sh [normal|asan|tsan]
set -eu
cd "$(dirname "$0")/.."
variant="${1:-normal}"
case "$variant" in
    normal) sanitize="" ; type=RelWithDebInfo ;;
    asan)   sanitize="address" ; type=Debug ;;
    tsan)   sanitize="thread" ; type=Debug ;;
    *) echo "unknown variant: $variant" >&2; exit 2 ;;
esac
cmake -S . -B "build/$variant" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DCORVANE_SANITIZE="$sanitize" >/dev/null
ninja -C "build/$variant" -j2
