#!/bin/sh
# Runs a Windows program under Wine, headless, in a throw-away prefix of the
# build's own (created on first use, without any prompt):
#   scripts/wine.sh <prefix folder> <program.exe> [arguments]
#   scripts/wine.sh <prefix folder> --wait    waits until every program of
#                                             the prefix has ended
# The exit status is the program's. No X server is needed: the prefix uses
# Wine's null graphics driver, and Mono and Gecko are never offered.
set -eu
prefix="$1"
shift
mkdir -p "$(dirname "$prefix")"
prefix="$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")"
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wine="$(command -v wine64 || true)"
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
if [ ! -x "$wine" ]; then
    echo "wine.sh: Wine not found: run scripts/setup.sh" >&2
    exit 1
fi

# One set-up per prefix, even when tests start together.
(
    flock 9
    if [ ! -f "$prefix/.corvane-ready" ]; then
        "$wine" wineboot -i >/dev/null 2>&1
        "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
        touch "$prefix/.corvane-ready"
    fi
    # The display's "Arial" is the installed metric-compatible face, as a
    # Windows system has Arial itself.
    if [ ! -f "$prefix/.corvane-fonts" ]; then
        "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1
        touch "$prefix/.corvane-fonts"
    fi
) 9>"$prefix.lock"

if [ "${1:-}" = "--wait" ]; then
    exec "$(dirname "$wine")/wineserver" -w
fi
exec "$wine" "$@"
