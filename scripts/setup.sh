#!/usr/bin/env bash
# Installs every Debian package the game, its tools and its tests need.
# Idempotent: prints nothing and touches nothing when everything is there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git ccache
    qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libsdl2-dev libpulse-dev libfluidsynth-dev timgm6mb-soundfont fonts-liberation fontconfig
    nlohmann-json3-dev libcli11-dev zlib1g-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-14 libfuzzer-14-dev libclang-rt-14-dev clang-format
    desktop-file-utils appstream dpkg-dev file lintian mmdebstrap
    xvfb xdotool
    pulseaudio pulseaudio-utils # a private server (and parec) for the tests of the music's own stream, and measure.sh --pulse
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Instaluji balíčky: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
