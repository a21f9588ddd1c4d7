#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test the project, if any is missing.
# With "fuzz", also what the fuzz targets need: clang++ and its libFuzzer and sanitizer runtimes.
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  qt6-base-dev libgl-dev fonts-dejavu-core fonts-liberation2
  xvfb xauth openbox x11-utils xdotool xclip imagemagick wmctrl python3
  desktop-file-utils appstream dpkg-dev file help2man man-db
)

[ "${1:-}" = fuzz ] && packages+=(clang libclang-rt-dev)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
