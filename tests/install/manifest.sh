#!/usr/bin/env bash
# Run before and after the install tests with the build folder: "record" notes
# the build's install manifest, which the README's uninstall reads; "compare"
# fails unless it is still what it was, or still absent.
set -euo pipefail
manifest=$2/install_manifest.txt noted=$2/tests/install_manifest.before
state() { cat "$manifest" 2>/dev/null || echo "(no manifest)"; }
case $1 in
record) state >"$noted" ;;
compare) state | cmp -s - "$noted" || { echo "the install tests changed $manifest" >&2; exit 1; } ;;
esac
