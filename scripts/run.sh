#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and starts Kestrix beside a simulated meter
# published as COM 1. Arguments go to the simulator, for example:
#   scripts/run.sh --model "[KX-C1]" --files 40
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
# Only what this needs: the tests and the benchmark are scripts/test.sh's.
"$top/scripts/build.sh" "$top/build" --target kestrix --target kestrix-meter-sim

"$top/build/sim/kestrix-meter-sim" --com 1 "$@" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null' EXIT
sleep 0.5   # the simulator publishes COM 1 within a moment

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: running under Xvfb (nothing will be visible)." >&2
    xvfb-run -a "$top/build/kestrix"
else
    "$top/build/kestrix"
fi
