#!/bin/sh
# Configures and builds one variant: scripts/build.sh [normal|asan|tsan|windows]
# (windows: the cross-built Windows program, its installer and its tests, in
# build/windows). CORVANE_CCACHE=1 compiles through ccache (for local
# rebuilds; CI builds from scratch without it). The sources are compiled as
# unity builds, eight files to a unit, which halves a build from scratch;
# CORVANE_UNITY=0 compiles each file on its own (quicker after a small edit).
set -eu
cd "$(dirname "$0")/.."
variant="${1:-normal}"
toolchain=""
case "$variant" in
    normal)  sanitize="" ; type=RelWithDebInfo ;;
    asan)    sanitize="address" ; type=Debug ;;
    tsan)    sanitize="thread" ; type=Debug ;;
    windows) sanitize="" ; type=Release ; toolchain="-DCMAKE_TOOLCHAIN_FILE=$(pwd)/cmake/mingw-w64-x86_64.cmake" ;;
    *) echo "unknown variant: $variant" >&2; exit 2 ;;
esac
launcher=""
if [ "${CORVANE_CCACHE:-0}" = 1 ] && command -v ccache >/dev/null 2>&1; then
    launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
fi
unity="-DCMAKE_UNITY_BUILD=OFF"
if [ "${CORVANE_UNITY:-1}" = 1 ]; then
    unity="-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=8"
fi
cmake -S . -B "build/$variant" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DCORVANE_SANITIZE="$sanitize" $toolchain $launcher $unity >/dev/null
ninja -C "build/$variant" -j2
