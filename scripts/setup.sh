# Shared by run.sh and test.sh: installs the Debian packages that are missing,
# then configures and builds in build/. Safe to run again and again.

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$repo/build"

# Liberation Sans has the metrics of the face the window's texts are laid out for.
# libxkbcommon-dev only answers Qt's own search for it, which otherwise warns on every configure.
# zlib gives patch files their CRC32; CLI11 and nlohmann/json serve tidewell-cli.
# libxcb1-dev lets the benchmark see the window appear on the display.
build_packages=(g++ make cmake qt6-base-dev libgl-dev libxkbcommon-dev zlib1g-dev libpng-dev libcli11-dev
                nlohmann-json3-dev fonts-liberation2 libxcb1-dev)
wasm_packages=(clang-16 lld-16 libc++-16-dev-wasm32 libc++abi-16-dev-wasm32 libclang-rt-16-dev-wasm32 wasi-libc)
build_purpose="the compiler, CMake, the Qt 6 and other development files, and the font Tidewell is built with"

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

# Installs those of the packages after $1 that are missing, saying first that
# they are $1. apt reports each step on a line of its own, also in a log.
install_missing() {
    local purpose=$1 missing=() package
    shift
    for package in "$@"; do
        dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing $purpose: ${missing[*]}"
    if [ -z "${package_lists_updated:-}" ]; then
        "${as_root[@]}" apt-get update -q
        package_lists_updated=1
    fi
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q -o Dpkg::Use-Pty=0 --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    cmake -S "$repo" -B "$build" "$@"
    cmake --build "$build" --parallel "$(nproc)"
}
