#!/usr/bin/env bash
# Installs the build into a scratch prefix and starts the installed binary on a
# virtual display with a ROM on its command line: a game opens straight away,
# an unsupported file brings up a warning over a window that stays usable.
# Either way Ctrl+Q then ends the program quietly.
set -euo pipefail

if [ "${1:-}" != --on-display ]; then
    make_rom=$2
    source "$(dirname "$0")/stage.sh"
    "$make_rom" AAUE "$stage/game.gbc"
    "$make_rom" AAUX "$stage/unsupported.gbc"
    mkdir -m 700 "$stage/runtime"
    # Opening a ROM adds it to the recent list, which belongs in the scratch
    # folder rather than the user's settings. Without -noreset the second start
    # races the server's reset after the first program leaves.
    XDG_RUNTIME_DIR="$stage/runtime" XDG_CONFIG_HOME="$stage/config" \
        xvfb-run -a -s "-screen 0 800x600x24 -noreset" \
        "$0" --on-display "$stage/usr/bin/tidewell" "$stage"
    # Not exec'd, so that the trap removes the stage afterwards.
    exit
fi

binary=$2 stage=$3 output=$3/output
unset QT_QPA_PLATFORM
pid=

fail() {
    echo "$1" >&2
    if [ -s "$output" ]; then
        echo "Tidewell printed:" >&2
        cat "$output" >&2
    fi
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    exit 1
}

visible_windows() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null || true
}

# Waits up to 10 s for exactly $2 visible windows with titles matching $1.
await_count() {
    local count
    for _ in $(seq 50); do
        count=$(visible_windows "$1" | wc -l)
        [ "$count" -eq "$2" ] && return 0
        sleep 0.2
    done
    return 1
}

area() {
    xdotool getwindowgeometry "$1" | sed -n 's/^ *Geometry: \([0-9]*\)x\([0-9]*\)$/\1 * \2/p' | xargs expr
}

# Ctrl+Q to the given window; the program must end with status 0 within 10 s.
quit_through() {
    xdotool windowfocus --sync "$1"
    xdotool key ctrl+q
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    kill -0 "$pid" 2>/dev/null && fail "Tidewell did not end after Ctrl+Q ($2)"
    local status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" -eq 0 ] || fail "Tidewell ended with status $status after Ctrl+Q ($2)"
}

# A game named on the command line is open as soon as the window shows.
"$binary" "$stage/game.gbc" >"$output" 2>&1 &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^AAUE - Tidewell$' | head -n 1) \
    || fail "no window titled \"AAUE - Tidewell\" appeared for a Gold ROM given at start-up; visible: $(
        for w in $(visible_windows .); do printf '"%s" ' "$(xdotool getwindowname "$w")"; done)"
sleep 0.5
others=$(visible_windows . | grep -vx "$window" || true)
[ -z "$others" ] || fail "a Gold ROM given at start-up also brought up \"$(xdotool getwindowname "${others%%$'\n'*}")\""
quit_through "$window" "Gold ROM"
[ -s "$output" ] && fail "Tidewell printed something with a Gold ROM given at start-up"

# An unsupported file: a warning box titled "Tidewell" over the main window.
"$binary" "$stage/unsupported.gbc" >"$output" 2>&1 &
pid=$!
await_count '^Tidewell$' 2 \
    || fail "an unsupported ROM given at start-up did not show a warning box titled Tidewell over the main window (visible windows titled Tidewell: $(visible_windows '^Tidewell$' | wc -l))"
read -r first second <<<"$(visible_windows '^Tidewell$' | xargs)"
# The box is the smaller of the two.
first_area=$(area "$first") second_area=$(area "$second")
[ -n "$first_area" ] && [ -n "$second_area" ] || fail "could not measure the two windows titled Tidewell"
if [ "$first_area" -lt "$second_area" ]; then
    box=$first window=$second
else
    box=$second window=$first
fi
xdotool windowfocus --sync "$box"
xdotool key Return
for _ in $(seq 50); do
    visible_windows . | grep -x "$box" >/dev/null || break
    sleep 0.2
done
visible_windows . | grep -x "$box" >/dev/null && fail "Return did not dismiss the warning about an unsupported ROM"
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "Tidewell ended after the warning about an unsupported ROM instead of staying open"
[ "$(visible_windows '^Tidewell$')" = "$window" ] \
    || fail "the main window is gone or no longer titled Tidewell after the warning about an unsupported ROM"
quit_through "$window" "unsupported ROM"
[ -s "$output" ] && fail "Tidewell printed something with an unsupported ROM given at start-up"

echo "installed Tidewell opened a Gold ROM given at start-up, warned about an unsupported one and ended through Ctrl+Q"
