#!/usr/bin/env bash
# Writes the notices that travel with the emoji table (emoji.json): the
# Unicode data licence of the emoji list and the CLDR keywords, and the
# BSD-3-Clause notice of the emoji module whose shortcodes it carries, each
# as its Debian package states it.
# Usage: tools/emoji-licence.sh OUTPUT
set -euo pipefail
output="$1"
{
  echo "emoji.json is made by Quorvane's tools/make-emoji-table.py from the data below."
  for package in unicode-data unicode-cldr-core python3-emoji; do
    copyright="/usr/share/doc/$package/copyright"
    [ -f "$copyright" ] || { echo "emoji-licence: $copyright is missing (tools/setup.sh installs $package)" >&2; exit 1; }
    echo
    echo "==== $package ($copyright)"
    echo
    cat "$copyright"
  done
} > "$output.tmp"
mv "$output.tmp" "$output"
