#!/usr/bin/env bash
# Installs the build into a scratch prefix, starts the installed binary on a
# virtual display, waits for its window and ends it through File > Exit.
# Fails if it does not start, prints anything (a Qt warning), or does not end,
# or if without a display it does not say what to do instead.
set -euo pipefail

if [ "${1:-}" != --on-display ]; then
    source "$(dirname "$0")/stage.sh"
    said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$stage/usr/bin/tidewell" 2>&1; echo "status $?")
    [ "$said" = "Tidewell needs a graphical display. To change a ROM without one, use tidewell-cli (see \
tidewell-cli --help).
status 1" ] || { echo "without a display, Tidewell printed: $said" >&2; exit 1; }
    # A desktop session provides a private runtime folder.
    mkdir -m 700 "$stage/runtime"
    XDG_RUNTIME_DIR="$stage/runtime" xvfb-run -a -s "-screen 0 800x600x24" \
        "$0" --on-display "$stage/usr/bin/tidewell" "$stage/output"
    # Not exec'd, so that the trap removes the stage afterwards.
    exit
fi

binary=$2 output=$3
unset QT_QPA_PLATFORM
"$binary" >"$output" 2>&1 &
pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tidewell$' | head -n 1) || {
    echo "no window titled Tidewell appeared" >&2
    cat "$output" >&2
    exit 1
}
xdotool windowfocus --sync "$window"
xdotool key --window "$window" alt+f
sleep 0.5
xdotool key Up Return

for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then
    echo "Tidewell did not end after File > Exit" >&2
    kill "$pid"
    exit 1
fi
wait "$pid" || { echo "Tidewell ended with status $?" >&2; exit 1; }
if [ -s "$output" ]; then
    echo "Tidewell printed:" >&2
    cat "$output" >&2
    exit 1
fi
echo "installed Tidewell started, showed its window and ended through File > Exit"
