#!/bin/sh
# Installs the Debian packages the build and the tests need. Idempotent; runs
# apt-get only when something is missing. Needs root (or sudo) for that.
set -eu

PACKAGES="build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev \
libgtest-dev libgmock-dev googletest libbenchmark-dev \
libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation2 fonts-wqy-zenhei \
g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 nsis"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
elif command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
else
    echo "setup: missing packages:$missing (run this script as root)" >&2
    exit 1
fi

echo "setup: installing$missing" >&2
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
