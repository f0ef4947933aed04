#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes the README's pictures again: the detection window, the winding meter's menu and each family
# window with a filled list, under Xvfb against the simulator.
# Needs xdotool (installed if missing) to open the winding meter's list.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" xdotool
"$top/scripts/build.sh" "$top/build" --target kestrix --target kestrix-meter-sim --target kestrix-screenshot
out="$top/docs/images"
mkdir -p "$out"

work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1920x1080x24 >/dev/null 2>&1 &
xvfb=$!
pids=()
trap 'kill "${pids[@]}" $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display
sleep 1

# The window of that title that is on screen (Qt also keeps a 1x1 window of the program's name).
window_id() {
    xwininfo -root -tree | grep -F "\"$1\":" \
        | awk '{ for (i = 2; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) { split($i, s, /[x+]/); if (s[1] > 1) { print $1; exit } } }'
}
wait_for() {
    for _ in $(seq 1 120); do
        id=$(window_id "$1")
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.25
    done
    echo "window \"$1\" did not appear" >&2
    return 1
}
shoot() {
    "$top/build/tools/kestrix-screenshot" "$out/$2.png" "$1"
    # A window that closed before the shot gives an empty picture.
    [ "$(stat -c %s "$out/$2.png")" -gt 1000 ] || { echo "docs/images/$2.png: window gone" >&2; exit 1; }
    echo "docs/images/$2.png"
}

# picture name, model, simulator options, and whether to open the list first
take() {
    local name=$1 model=$2 options=$3 open_list=${4:-}
    # shellcheck disable=SC2086
    "$top/build/sim/kestrix-meter-sim" --model "$model" --com 1 $options >/dev/null &
    local sim=$!
    sleep 0.5
    "$top/build/kestrix" >/dev/null 2>&1 &
    local kestrix=$!
    pids=($sim $kestrix)
    if [ "$name" = detection ]; then
        id=$(wait_for "Kestrix")
        sleep 2.5   # the meter has answered and the model is shown
        shoot "$id" "$name"
    else
        id=$(wait_for "$model Meter Communication Software")
        if [ -n "$open_list" ]; then
            # "Resistance Measurement files" on the winding meter's menu, by its access key.
            xdotool windowfocus --sync "$id"
            sleep 0.3
            xdotool key alt+r
            sleep 0.5
        fi
        sleep 0.5
        shoot "$id" "$name"
    fi
    kill $kestrix $sim 2>/dev/null || true
    wait $kestrix $sim 2>/dev/null || true
}

# At the meter's own pace the load takes long enough to picture the window that started it.
take detection "[KX-W1]" "--files 60"
take winding-menu "[KX-W1]" "--files 60 --unpaced"
take winding "[KX-W1]" "--files 60 --unpaced --empty 5" list
take contact "[KX-C1]" "--files 40 --unpaced --empty 3"
take ratio "KXT1" "--files 24 --unpaced"
take cable "[KX-R1]" "--files 44 --unpaced --empty 6"
