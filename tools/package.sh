#!/usr/bin/env bash
# Sets up, builds what the package holds (in the default preset: not the
# tests and benchmarks) and makes the Debian package:
# build/default/quorvane_<version>_amd64.deb, stripped, its dependencies
# computed by dpkg-shlibdeps.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target quorvane defaults simtools quorvane-sound \
  quorvane-camera quorvane_network quorvane-recognize quorvane_x11 quorvane_emoji_table \
  quorvane_install_files
(cd build/default && cpack -G DEB)
ls -1 build/default/quorvane_*.deb
