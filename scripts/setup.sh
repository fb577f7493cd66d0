#!/usr/bin/env bash
# Installs what building, running and testing Kestrin T.R.X need on Debian 12
# (the last line: building its Debian package and checking what it installs),
# and any further packages named as arguments.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-multimedia-dev libgl-dev
  libgtest-dev libgmock-dev
  libpcsclite-dev pcscd vsmartcard-vpcd pcsc-tools
  xvfb xauth fonts-liberation fonts-dejavu-core
  tshark python3-junitparser
  dpkg-dev file desktop-file-utils appstream groff-base lintian
)
packages+=("$@") # what a caller needs besides, such as the fuzzing compiler

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
