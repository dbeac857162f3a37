#!/usr/bin/env bash
# Builds Tidewell with its tests and runs every test.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install_missing "$build_purpose" "${build_packages[@]}"
# The desktop files are validated, and the installed program is started on a
# virtual display.
install_missing "the test tools (GoogleTest, the desktop file validators, a virtual X display)" \
    libgtest-dev desktop-file-utils appstream xvfb xauth xdotool
# The core is also compiled for WebAssembly, which proves it free of file and platform calls.
install_missing "clang and libc++ for WebAssembly" "${wasm_packages[@]}"
# The web page's module runs under Node, the page itself in headless Chromium.
install_missing "Chromium, its driver and Selenium, for the web page's tests" chromium chromium-driver python3-selenium
command -v node >/dev/null || install_missing "Node.js, for the web module's tests" nodejs
configure_and_build -DBUILD_TESTING=ON -DTIDEWELL_WEB=ON
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
