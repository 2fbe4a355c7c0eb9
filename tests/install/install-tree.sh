#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks the tree: every file where it
# belongs, and the installed game finding its data there (started headless, from another
# folder, also through a symbolic link).  Usage: install-tree.sh BUILD_DIR
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
expect share/pabuko/data/screen.src
expect share/pabuko/data/skins/new.qvs
expect share/pabuko/data/sounds/sfx.qvs
expect share/pabuko/data/levels/new.qvl
expect share/pabuko/docs/pabuko.html
expect share/applications/cz.hurbo.pabuko.desktop
expect share/metainfo/cz.hurbo.pabuko.metainfo.xml
expect share/man/man6/pabuko.6.gz
expect share/man/cs/man6/pabuko.6.gz
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
echo "install tree OK"
