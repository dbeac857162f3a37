# Sourced by the install tests with the build folder: installs the build into
# $stage/usr, a scratch folder removed on exit. The build's install manifest,
# which the README's uninstall reads, is set aside meanwhile and put back
# however the test ends.
build=$1
stage=$(mktemp -d)
manifest=$build/install_manifest.txt
had_manifest=false

put_back_manifest() {
    if $had_manifest; then
        [ ! -e "$stage/manifest" ] || mv -f "$stage/manifest" "$manifest"
    else
        rm -f "$manifest"
    fi
}

trap 'put_back_manifest; rm -rf "$stage"' EXIT
if [ -e "$manifest" ]; then
    had_manifest=true
    mv "$manifest" "$stage/manifest"
fi
cmake --install "$build" --prefix "$stage/usr" >/dev/null
put_back_manifest
