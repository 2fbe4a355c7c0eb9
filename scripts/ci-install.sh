#!/usr/bin/env bash
# CI for players and packagers: the install tree from a temporary prefix with the installed
# game started headless, the desktop entry and the AppStream metadata validated, and the
# Debian package built and inspected.
#   ci-install.sh [BUILD_DIR]   a configured Release build (default: a new one in
#                               build-release)
# PABUKO_CI_DPKG=1 also installs, starts and removes the package (in a throwaway machine).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

dir=${1:-build-release}
echo "== Release build installed into a temporary prefix ($dir) =="
if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPABUKO_BENCH=OFF >/dev/null
fi
cmake --build "$dir" -j2 --target pabuko pabuko_data pabuko_icons
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
grep -q './usr/share/pabuko/data/screen.src' <<<"$contents"
grep -q './usr/share/pabuko/docs/pabuko.html' <<<"$contents"
if [ "${PABUKO_CI_DPKG:-0}" = 1 ]; then
    apt-get install -y -qq "./$deb" >/dev/null
    (cd / && QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy timeout 60 pabuko --check-installation)
    apt-get remove -y -qq pabuko >/dev/null
    test ! -e /usr/bin/pabuko
fi
echo "$deb OK"
