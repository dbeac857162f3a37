#!/usr/bin/env bash
# Builds Tidewell and packs it as a Debian package in build/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install_missing "$build_purpose" "${build_packages[@]}"
install_missing "the Debian packaging tools" dpkg-dev file
first_time=()
[ -f "$build/CMakeCache.txt" ] || first_time=(-DBUILD_TESTING=OFF)
configure_and_build "${first_time[@]}"
(cd "$build" && cpack)
