#!/usr/bin/env bash
# Makes the README's screenshot: the viewer with an example open, on a virtual
# X display of its own.
#   scripts/screenshot.sh [BUILD_DIR] [OUT.png] [EXAMPLE]
set -euo pipefail
build=${1:-build}
out=${2:-docs/screenshot.png}
example=$(realpath "${3:-examples/pump_test.txt}")
display=${KELVARO_SHOT_DISPLAY:-:91}

Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
cleanup() {
    [ -n "${viewer:-}" ] && kill "$viewer" 2> /dev/null || true
    kill "$xvfb" 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1

# Settings in a scratch folder: the picture shows no one's recent files.
XDG_CONFIG_HOME=$work "$build/kelvaro" &
viewer=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Kelvaro$' | head -1)
# Without a window manager the window takes the keyboard only when told to.
xdotool windowfocus --sync "$window"
xdotool key ctrl+o
sleep 1
xdotool type --delay 2 "$example"
xdotool key Return
sleep 1.5
mkdir -p "$(dirname "$out")"
import -window "$window" "$out"
echo "wrote $out"
