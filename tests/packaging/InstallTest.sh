#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks it as installed.
# Usage: InstallTest.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
bash "$2/tools/check-install.sh" "$prefix"
