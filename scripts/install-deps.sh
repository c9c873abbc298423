#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Pelor need, only those
# missing. Works as root or through sudo.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev libgl-dev libserialport-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xauth x11-apps xdotool imagemagick fonts-liberation2
)
missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
echo "Installing: ${missing[*]}"
run() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
run apt-get update -qq
run apt-get install -y -qq --no-install-recommends "${missing[@]}"
