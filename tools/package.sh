#!/usr/bin/env bash
# Sets up, builds (the default preset) and makes the Debian package:
# build/default/quorvane_<version>_amd64.deb, stripped, its dependencies
# computed by dpkg-shlibdeps.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh default
(cd build/default && cpack -G DEB)
ls -1 build/default/quorvane_*.deb
