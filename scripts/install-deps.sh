#!/usr/bin/env bash
# Installs the Debian packages that building, testing, benchmarking and
# packaging need (dpkg-dev: cpack's dependency scan; desktop-file-utils and
# appstream: the checks of the desktop entry and the metadata; xvfb, xdotool
# and openbox: the tests that click a real window on an X server of their own).
# Idempotent: only packages that are missing are installed.
# With --fuzz it installs only what the fuzz targets add (`make fuzz`):
# clang and its sanitizer and fuzzer runtime, which the tests never need.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ make ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6multimedia6
  libqt6network6 libqt6gui6 qt6-qpa-plugins qt6-image-formats-plugins
  libgl-dev libjpeg62-turbo libjpeg62-turbo-dev libfontconfig-dev
  libbenchmark-dev liblz4-dev
  fonts-dejavu-core
  dpkg-dev desktop-file-utils appstream
  xvfb xdotool openbox
)

FUZZ_PACKAGES=(clang libclang-rt-14-dev)

if [ "${1:-}" = "--fuzz" ]; then
  PACKAGES=("${FUZZ_PACKAGES[@]}")
fi

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "Installing: ${missing[*]}"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
