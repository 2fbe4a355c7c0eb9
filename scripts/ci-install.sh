#!/usr/bin/env bash
# CI for players and packagers: Release builds with GCC and Clang, the install tree from a
# temporary prefix with the installed game started headless, the desktop entry and the
# AppStream metadata validated, and the Debian package built and inspected.
# PABUKO_CI_DPKG=1 also installs, starts and removes the package (in a throwaway machine).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

echo "== Release build with Clang =="
CXX=clang++-14 cmake -S . -B build-release-clang -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DPABUKO_BENCH=OFF -DBUILD_TESTING=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build-release-clang -j2 --target pabuko

echo "== Release build with GCC, installed into a temporary prefix =="
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPABUKO_BENCH=OFF >/dev/null
cmake --build build-release -j2 --target pabuko pabuko_data pabuko_icons
bash tests/install/install-tree.sh build-release

echo "== desktop entry and AppStream metadata =="
desktop-file-validate packaging/cz.hurbo.pabuko.desktop
appstreamcli validate --no-net build-release/packaging/cz.hurbo.pabuko.metainfo.xml

echo "== Debian package =="
rm -f build-release/pabuko_*.deb
(cd build-release && cpack -G DEB >/dev/null)
deb=$(ls build-release/pabuko_*.deb)
dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Depends|Recommends):'
dpkg-deb --info "$deb" | grep -q 'Depends:.*libqt6widgets6' || {
    echo "the package's dependencies were not computed"
    exit 1
}
dpkg-deb --contents "$deb" | grep -q './usr/share/pabuko/data/screen.src'
dpkg-deb --contents "$deb" | grep -q './usr/share/pabuko/docs/pabuko.html'
if [ "${PABUKO_CI_DPKG:-0}" = 1 ]; then
    apt-get install -y -qq "./$deb" >/dev/null
    (cd / && QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy timeout 60 pabuko --check-installation)
    apt-get remove -y -qq pabuko >/dev/null
    test ! -e /usr/bin/pabuko
fi
echo "$deb OK"
