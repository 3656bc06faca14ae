#!/usr/bin/env bash
# Installs the Debian packages Varno's build and tests need, only those missing.
# Safe to run again. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake make g++ python3
  libgtest-dev googletest libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 xvfb x11-utils xclip libx11-dev imagemagick
  nsis zip
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
