#!/usr/bin/env bash
# Builds Tidewell and packs it as a Debian package in build/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install_missing "$build_purpose" "${build_packages[@]}"
install_missing "the Debian packaging tools" dpkg-dev file
first_time=()
[ -f "$build/CMakeCache.txt" ] || first_time=(-DBUILD_TESTING=OFF)
configure_and_build "${first_time[@]}"
# cpack's staging install rewrites build/install_manifest.txt, which the
# README's uninstall reads: keep the manifest of a real install as it was.
manifest=$build/install_manifest.txt
kept=$(mktemp)
trap 'rm -f "$kept"' EXIT
had_manifest=false
[ ! -e "$manifest" ] || { cp -p "$manifest" "$kept"; had_manifest=true; }
(cd "$build" && cpack)
if $had_manifest; then mv -f "$kept" "$manifest"; else rm -f "$manifest"; fi
