#!/usr/bin/env bash
# Builds Tidewell and starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# Said before the build, which takes a while the first time.
if [ "$(uname)" != Darwin ] && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display to show Tidewell on. To start it on a virtual one instead:" >&2
    command -v xvfb-run >/dev/null \
        || echo "    ${as_root[*]}${as_root:+ }apt-get install xvfb xauth" >&2
    echo "    xvfb-run -a $0" >&2
    exit 1
fi

install_missing "$build_purpose" "${build_packages[@]}"
# A first build leaves the tests out, so that starting the editor needs no test tools.
first_time=()
[ -f "$build/CMakeCache.txt" ] || first_time=(-DBUILD_TESTING=OFF)
configure_and_build "${first_time[@]}"
exec "$build/tidewell"
