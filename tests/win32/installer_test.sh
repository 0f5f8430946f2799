#!/bin/sh
# The installer under Wine, silently (/S): a first installation places the
# program, its default settings file, the language files, a Start-menu entry
# and an uninstaller; an upgrade over it and the removal both leave the
# user's settings file exactly as it was.
#   installer_test.sh <wine.sh> <prefix folder> <corvane-setup.exe>
set -eu
wine_sh="$1"
prefix="$2"
setup="$3"
dir="$prefix/drive_c/CorvaneInstallTest"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Corvane"
fail() { echo "installer test: $*" >&2; exit 1; }
run() { "$wine_sh" "$prefix" "$@"; }

rm -rf "$dir"
run "$setup" /S '/D=C:\CorvaneInstallTest' || fail "the installer failed ($?)"
for f in corvane.exe Corvane.ini Uninstall.exe Language/Chs.ini Language/Cht.ini Language/Eng.ini \
    Language/Ita.ini Language/Pol.ini; do
    [ -f "$dir/$f" ] || fail "$f was not installed"
done
[ "$(head -c 2 "$dir/Corvane.ini" | od -An -tx1 | tr -d ' ')" = "fffe" ] || fail "Corvane.ini is not UTF-16LE"
[ -f "$menu/Corvane.lnk" ] || fail "no Start-menu entry"
echo "installed: $(cd "$dir" && find . -type f | sort | tr '\n' ' ')"

# The user's own settings, as the program would have saved them.
user_settings="$dir/../corvane-user-settings.ini"
{ printf '\377\376'; printf '[SETTING]\r\nVAL_LANGUAGE=3\r\nVAL_ENABLE_KEYTONE=0\r\n' | iconv -f UTF-8 -t UTF-16LE; } \
    >"$user_settings"
cp "$user_settings" "$dir/Corvane.ini"

run "$setup" /S '/D=C:\CorvaneInstallTest' || fail "the upgrade failed ($?)"
cmp -s "$user_settings" "$dir/Corvane.ini" || fail "the upgrade replaced the user's settings"

# The uninstaller runs as a copy of itself and returns at once.
run "$dir/Uninstall.exe" /S || fail "the uninstaller failed ($?)"
run --wait
for f in corvane.exe Uninstall.exe Language; do
    [ ! -e "$dir/$f" ] || fail "$f is still there after uninstalling"
done
[ ! -e "$menu" ] || fail "the Start-menu entry is still there"
cmp -s "$user_settings" "$dir/Corvane.ini" || fail "uninstalling changed or removed the user's settings"
echo "uninstalled: only Corvane.ini is left: $(ls "$dir")"
rm -rf "$dir" "$user_settings"
