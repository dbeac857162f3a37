#!/usr/bin/env bash
# Builds Tidewell and starts it, with the arguments given (a ROM to open).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# Said before the build, which takes a while the first time.
if [ "$(uname)" != Darwin ] && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<EOF
No display to show Tidewell's window on. Without one, the command-line tool
tidewell-cli shows and changes the starters, in place, as a copy or as a patch.
Building just that; it ends up as $build/cli/tidewell-cli.
EOF
    install_missing "$build_purpose" "${build_packages[@]}"
    [ -f "$build/CMakeCache.txt" ] || cmake -S "$repo" -B "$build" -DBUILD_TESTING=OFF
    cmake --build "$build" --target tidewell-cli --parallel "$(nproc)"
    cat >&2 <<EOF

    $build/cli/tidewell-cli show ROM
    $build/cli/tidewell-cli set ROM --ball1 pikachu,10,"light ball"
    $build/cli/tidewell-cli set ROM --ball1 pikachu --bps ROM.bps
    $build/cli/tidewell-cli --help

A virtual display (xvfb-run, from the Debian package xvfb) serves only for a
screenshot of the window or for the tests, which ./scripts/test.sh runs on one
of their own.
EOF
    exit 0
fi

install_missing "$build_purpose" "${build_packages[@]}"
# A first build leaves the tests out, so that starting the editor needs no test tools.
first_time=()
[ -f "$build/CMakeCache.txt" ] || first_time=(-DBUILD_TESTING=OFF)
configure_and_build "${first_time[@]}"
exec "$build/tidewell" "$@"
