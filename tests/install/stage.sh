# Sourced by the install tests with the build folder: installs the build into
# $stage/usr, a scratch folder removed on exit. The build's install manifest,
# which the README's uninstall reads, is set aside meanwhile and put back
# however the test ends.
build=$1
stage=$(mktemp -d)
manifest=$build/install_manifest.txt kept=none
[ ! -e "$manifest" ] || kept=$stage/manifest
trap 'if [ "$kept" = none ]; then rm -f "$manifest"; elif [ -e "$kept" ]; then mv -f "$kept" "$manifest"; fi
      rm -rf "$stage"' EXIT
[ "$kept" = none ] || mv "$manifest" "$kept"
cmake --install "$build" --prefix "$stage/usr" >/dev/null
