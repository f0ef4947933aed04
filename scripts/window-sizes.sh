#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Prints the face the windows are drawn in and each window's client size in
# pixels, under Xvfb on a 1920x1080 screen against the simulator:
#   scripts/window-sizes.sh [build folder, default build]
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb QT_LOGGING_RULES="kestrix.font.info=true"
display=:$((150 + RANDOM % 50))
Xvfb "$display" -screen 0 1920x1080x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=$display
sleep 1

size() { xwininfo -id "$1" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }
wait_for() {
    for _ in $(seq 1 80); do
        id=$(xwininfo -root -tree | grep -F "\"$1\"" | awk '{print $1}' | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.25
    done
    return 1
}

for model in "[KX-W1]" "[KX-C1]" "[KX-R1]"; do
    "$build/sim/kestrix-meter-sim" --model "$model" --com 1 --files 60 --unpaced >/dev/null &
    sim=$!
    sleep 0.5
    "$build/kestrix" >"$work/log" 2>&1 &
    kestrix=$!
    if id=$(wait_for "$model Meter Communication Software"); then
        sleep 0.5
        echo "$model $(size "$id")"
        if [ "$model" = "[KX-W1]" ]; then
            xdotool windowfocus --sync "$id" && sleep 0.3 && xdotool key alt+r
            sleep 0.7
            echo "$model measurement files $(size "$id")"
        fi
    else
        echo "$model: no window"
    fi
    kill $kestrix $sim 2>/dev/null
    wait $kestrix $sim 2>/dev/null
done
grep -o "Windows drawn in .*" "$work/log" | head -n 1
