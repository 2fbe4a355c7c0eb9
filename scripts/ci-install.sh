#!/usr/bin/env bash
# CI for players and packagers: the install tree from a temporary prefix with the installed
# game started headless, the desktop entry and the AppStream metadata validated, the Debian
# package built, inspected and checked by lintian, then installed into a fresh minimal
# Debian 12 root where the game checks its installation under Xvfb and the tool, with no
# display, reads a shipped level set.
#   ci-install.sh [BUILD_DIR]   a configured Release build (default: a new one in
#                               build-release)
# PABUKO_CI_DPKG=1 also installs, starts and removes the package on this machine (a
# throwaway one). PABUKO_CI_FRESH_ROOT=0 leaves out the fresh root (it needs root and the
# Debian mirror).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

dir=${1:-build-release}
echo "== Release build installed into a temporary prefix ($dir) =="
if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPABUKO_BENCH=OFF >/dev/null
fi
cmake --build "$dir" -j2 --target pabuko pabuko-tool pabuko_data pabuko_icons pabuko_manuals
bash tests/install/install-tree.sh "$dir"

echo "== desktop entry and AppStream metadata =="
desktop-file-validate packaging/cz.hurbo.pabuko.desktop
appstreamcli validate --no-net "$dir"/packaging/cz.hurbo.pabuko.metainfo.xml

echo "== Debian package =="
rm -f "$dir"/pabuko_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/pabuko_*.deb)
# Whole listings first: grep -q stops reading early, and the broken pipe would fail the run.
info=$(dpkg-deb --info "$deb")
contents=$(dpkg-deb --contents "$deb")
grep -E '^ (Package|Version|Depends|Recommends):' <<<"$info"
grep -q 'Depends:.*libqt6widgets6' <<<"$info" && grep -q 'Depends:.*libsdl2' <<<"$info" &&
    grep -q 'Depends:.*libfluidsynth' <<<"$info" || {
    echo "the package's dependencies were not computed"
    exit 1
}
for file in ./usr/games/pabuko ./usr/games/pabuko-tool ./usr/share/pabuko/data/screen.src \
    ./usr/share/pabuko/docs/pabuko.html ./usr/share/man/man6/pabuko.6.gz \
    ./usr/share/man/cs/man6/pabuko.6.gz ./usr/share/man/man1/pabuko-tool.1.gz \
    ./usr/share/doc/pabuko/copyright ./usr/share/doc/pabuko/changelog.gz; do
    grep -q " $file\$" <<<"$contents" || {
        echo "missing from the package: $file"
        exit 1
    }
done

echo "== lintian =="
# Any error or warning fails the check: lintian must print nothing (its note that it runs
# as root goes to stderr).
if ! hints=$(lintian --fail-on error,warning "$deb" 2>/dev/null) || [ -n "$hints" ]; then
    echo "lintian: ${hints:-failed}"
    exit 1
fi
if [ "${PABUKO_CI_DPKG:-0}" = 1 ]; then
    apt-get install -y -qq "./$deb" >/dev/null
    (cd / && QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy timeout 60 pabuko --check-installation)
    apt-get remove -y -qq pabuko >/dev/null
    test ! -e /usr/games/pabuko && test ! -e /usr/games/pabuko-tool
fi

if [ "${PABUKO_CI_FRESH_ROOT:-1}" = 1 ]; then
    echo "== the package on a fresh minimal Debian 12 =="
    # Only what the package declares, and Xvfb to start it in: a dependency it misses fails
    # here. The mirrors are this machine's suites, so that the libraries are as new as the
    # build's; the root is thrown away afterwards (/dev/null).
    package=$(realpath "$deb")
    mmdebstrap --quiet --variant=apt --include=xvfb,xauth \
        --customize-hook="copy-in $package /tmp" \
        --customize-hook='chroot "$1" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends /tmp/'"$(basename "$package")"' >/dev/null' \
        --customize-hook='chroot "$1" /usr/games/pabuko --version' \
        --customize-hook='chroot "$1" sh -c "cd / && SDL_AUDIODRIVER=dummy timeout 120 xvfb-run -a /usr/games/pabuko --check-installation"' \
        --customize-hook='chroot "$1" sh -c "cd / && /usr/games/pabuko-tool --help >/dev/null && /usr/games/pabuko-tool levels dump new >/dev/null"' \
        bookworm /dev/null \
        "deb http://deb.debian.org/debian bookworm main" \
        "deb http://deb.debian.org/debian bookworm-updates main" \
        "deb http://deb.debian.org/debian-security bookworm-security main"
fi
echo "$deb OK"
