# Shared by run.sh and test.sh: installs the Debian packages that are missing,
# then configures and builds in build/. Safe to run again and again.

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$repo/build"

# Liberation Sans has the metrics of the face the window's texts are laid out for.
build_packages=(g++ make cmake qt6-base-dev libgl-dev fonts-liberation2)

install_missing() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    echo "Installing missing packages: ${missing[*]}"
    "${as_root[@]}" apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

configure_and_build() {
    cmake -S "$repo" -B "$build" "$@"
    cmake --build "$build" --parallel "$(nproc)"
}
