#!/usr/bin/env bash
# Installs what Quorvane needs to build, run and be tested on Debian 12.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev
  nlohmann-json3-dev libicu-dev libplist-dev libplist-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-color-emoji fonts-font-awesome
  libxcb1-dev libxcb-keysyms1-dev libxcb-xtest0-dev
  libxcb-ewmh-dev libxcb-icccm4-dev libxcb-record0-dev libxcb-res0-dev libxcb-composite0-dev
  libxcb-randr0-dev libxcb-xinput-dev libxcb-screensaver0-dev
  libxkbcommon-dev libxkbcommon-x11-dev libxcb-xkb-dev
  xvfb xauth openbox xdotool x11-apps x11-utils x11-xserver-utils xcompmgr xterm trayer
  dbus-daemon dbus-bin pulseaudio pulseaudio-utils appstream desktop-file-utils groff-base
  libglib2.0-dev libglib2.0-bin gsettings-desktop-schemas weston qt6-wayland
  libxml2-dev libcurl4-openssl-dev ca-certificates libtesseract-dev tesseract-ocr-eng libzxing-dev xclip
  python3 python3-emoji unicode-data unicode-cldr-core
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  lld-16
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
