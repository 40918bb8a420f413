#!/bin/sh
# Draws docs/window.png again: the window of the built program after two presses of
# «Генерировать», on a virtual display, so the picture always shows what the program makes.
#   tools/make-screenshot.sh [PROGRAM] [PICTURE]   (default: build/bin/zurevavud docs/window.png)
# Needs xvfb, xauth, xdotool and imagemagick. The window's random source always starts from the
# same state, so the same words give the same picture.
set -eu
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/bin/zurevavud}")
picture=$(realpath "${2:-docs/window.png}")

# A home of its own, so that no theme of the caller's own (~/.local/share/zurevavud/words)
# takes the place of the shipped one.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/runtime"

env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/runtime" \
    xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    "$1" &
    program=$!
    window=$(xdotool search --sync --onlyvisible --name "^Zurevavud uvedididade vezivuda\$")
    # «Генерировать» at the left of the row of buttons, pressed twice.
    for press in 1 2; do
        xdotool mousemove --window "$window" 96 332 click 1
        sleep 0.5
    done
    # Back to the top of the text, where the first batch starts.
    xdotool mousemove --window "$window" 300 100 click 1 key ctrl+Home
    sleep 0.5
    # No time stamp or other metadata, so an unchanged window gives unchanged bytes.
    import -window "$window" -strip -define png:exclude-chunks=date,time "$2"
    status=$?
    kill "$program"
    exit $status' - "$program" "$picture"
