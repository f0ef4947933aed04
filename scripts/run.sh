#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and starts Kestrix beside a simulated meter
# published as the first free COM number (COM 1 unless a link of the user's
# already holds it). Arguments go to the simulator, for example:
#   scripts/run.sh --model "[KX-C1]" --files 40
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
# Only what this needs: the tests and the benchmark are scripts/test.sh's.
"$top/scripts/build.sh" "$top/build" --target kestrix --target kestrix-meter-sim

# A COM link that exists and leads somewhere is the user's (or another
# simulator's): take the first number without one. A link to a pseudo-terminal
# that is gone is a simulator's leftover and may be reused.
links="${XDG_CONFIG_HOME:-$HOME/.config}/kestrix/ports"
com=1
while [ "$com" -le 32 ]; do
    link="$links/COM$com"
    if [ ! -e "$link" ] && [ ! -L "$link" ]; then break; fi
    if [ -L "$link" ] && [ ! -e "$link" ] && [[ "$(readlink "$link")" == /dev/pts/* ]]; then break; fi
    com=$((com + 1))
done
if [ "$com" -gt 32 ]; then
    echo "Every COM number from 1 to 32 has a link in $links: remove one for the simulator." >&2
    exit 1
fi
echo "The simulated meter is on COM $com: pick $com in the port list." >&2

"$top/build/sim/kestrix-meter-sim" --com "$com" "$@" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null' EXIT
sleep 0.5   # the simulator publishes its COM link within a moment

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: running under Xvfb (nothing will be visible)." >&2
    xvfb-run -a "$top/build/kestrix"
else
    "$top/build/kestrix"
fi
