#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks the tree: every file where it
# belongs, the installed game finding its data there (started headless, from another
# folder, also through a symbolic link), and the installed tool packing a player's level set
# that the game's loader then reads.  Usage: install-tree.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix/usr" >/dev/null

status=0
expect() {
    if [ ! -e "$prefix/usr/$1" ]; then
        echo "missing from the install tree: $1"
        status=1
    fi
}
expect bin/pabuko
expect bin/pabuko-tool
expect share/pabuko/data/screen.src
expect share/pabuko/data/skins/new.qvs
expect share/pabuko/data/sounds/sfx.qvs
expect share/pabuko/data/levels/new.qvl
expect share/pabuko/docs/pabuko.html
expect share/applications/cz.hurbo.pabuko.desktop
expect share/metainfo/cz.hurbo.pabuko.metainfo.xml
expect share/man/man6/pabuko.6.gz
expect share/man/cs/man6/pabuko.6.gz
expect share/man/man1/pabuko-tool.1.gz
expect share/doc/pabuko/copyright
expect share/doc/pabuko/changelog.gz
for size in 16 22 24 32 48 64 128 256; do
    icon=share/icons/hicolor/${size}x${size}/apps/pabuko.png
    expect "$icon"
    if [ -e "$prefix/usr/$icon" ] && ! file "$prefix/usr/$icon" | grep -q "$size x $size"; then
        echo "wrong size: $icon"
        status=1
    fi
done
# Everything the build put into data/ and docs/ goes along.
for folder in data docs; do
    (cd "$build/$folder" && find . -type f | sort) >"$prefix/built"
    (cd "$prefix/usr/share/pabuko/$folder" && find . -type f | sort) >"$prefix/installed"
    if ! cmp -s "$prefix/built" "$prefix/installed"; then
        echo "$folder/ differs between the build and the install tree:"
        diff "$prefix/built" "$prefix/installed" || true
        status=1
    fi
done
[ $status -eq 0 ] || exit $status

# The installed game, started far from the build and from its own folder.
run() {
    (cd / && HOME="$prefix/home" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
        timeout 60 "$@" --check-installation)
}
mkdir -p "$prefix/home" "$prefix/elsewhere"
run "$prefix/usr/bin/pabuko"
ln -s "$prefix/usr/bin/pabuko" "$prefix/elsewhere/pabuko"
run "$prefix/elsewhere/pabuko"

# The installed tool as a player uses it: no display, no build tree, from another folder.
tool() {
    (cd "$prefix/elsewhere" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        -u XDG_DATA_HOME HOME="$prefix/home" timeout 60 "$prefix/usr/bin/pabuko-tool" "$@")
}
tool --help >/dev/null
printf '%s\n' '# two levels' SKOLA 'Kolik dní má týden?' pět šest sedm osm 3100 60 '' \
    PERO 'Kterým písmenem začíná slovo jablko?' A J K O 2150 80 >"$prefix/elsewhere/skola.txt"
tool levels pack skola.txt >/dev/null
if [ ! -f "$prefix/home/.local/share/pabuko/levels/skola.qvl" ]; then
    echo "levels pack did not write the set into the player's folder"
    exit 1
fi
tool levels dump skola >"$prefix/dump"
grep -q '"LevelCount": 2' "$prefix/dump" && grep -q '"Question": "Kolik dní má týden?"' "$prefix/dump" || {
    echo "levels dump does not read the packed set back:"
    cat "$prefix/dump"
    exit 1
}
# The shipped sets from the installed data, and a source named like one refused.
tool levels dump new >/dev/null
cp "$prefix/elsewhere/skola.txt" "$prefix/elsewhere/zvirata.txt"
if tool levels pack zvirata.txt 2>/dev/null; then
    echo "levels pack wrote a set named like a shipped one"
    exit 1
fi
echo "install tree OK"
