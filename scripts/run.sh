#!/usr/bin/env bash
# Builds Tidewell and starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install_missing "${build_packages[@]}"
# A first build leaves the tests out, so that starting the editor needs no test tools.
first_time=()
[ -f "$build/CMakeCache.txt" ] || first_time=(-DBUILD_TESTING=OFF)
configure_and_build "${first_time[@]}"

if [ "$(uname)" != Darwin ] && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display to show Tidewell on; start it on a virtual one with: xvfb-run -a $0" >&2
    exit 1
fi
exec "$build/tidewell"
