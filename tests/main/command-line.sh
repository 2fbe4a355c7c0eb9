#!/bin/sh
# pabuko --version and --help answer on the terminal, also where there is no display, and
# only as options: after "--" the game starts (and here finds no display).
# Usage: command-line.sh GAME VERSION
set -eu
game=$1
version=$2
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
fail() {
    echo "$*"
    exit 1
}

out=$("$game" --version) || fail "--version failed"
[ "$(echo "$out" | head -n 1)" = "Pabuko $version" ] || fail "--version printed: $out"
echo "$out" | grep -q "GPL" || fail "--version names no licence: $out"
[ "$("$game" -v)" = "$out" ] || fail "-v differs from --version"

help=$("$game" --help) || fail "--help failed"
[ "$(echo "$help" | head -n 1)" = "Použití: pabuko [VOLBA]" ] || fail "--help printed: $help"
for option in --check-installation --help --version; do
    echo "$help" | grep -q -- "$option" || fail "--help does not name $option"
done
[ "$("$game" -platform xcb -h)" = "$help" ] || fail "-h after a Qt option differs from --help"

if out=$("$game" -- --help 2>&1); then fail "after --, --help was taken as an option"; fi
echo "$out" | grep -q "no display is available" || fail "after --: $out"
echo "command line OK"
