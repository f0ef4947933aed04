#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What late and repeated replies cost kestrix-download, and whether any row
# becomes another file's: each line below is timed three times (median) and
# every row of the last run is compared with a clean meter's.
#   bench/line-faults.sh build/src/cli/kestrix-download build/sim/kestrix-meter-sim
set -uo pipefail
download=${1:?kestrix-download to time}
sim=${2:?kestrix-meter-sim to play the meter}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"

run_once() { # output file, simulator options...
    local output=$1; shift
    "$sim" --com 1 "$@" > "$work/sim.out" 2>&1 &
    local pid=$!
    until [ -L "$XDG_CONFIG_HOME/kestrix/ports/COM1" ]; do sleep 0.05; done
    local start end
    start=$(date +%s.%N)
    "$download" --port 1 --format csv --quiet > "$output" 2>/dev/null
    end=$(date +%s.%N)
    kill "$pid"; wait "$pid" 2>/dev/null
    awk -v s="$start" -v e="$end" 'BEGIN { print e - s }'
}

line() { # label, simulator options...
    local label=$1; shift
    local times=()
    for _ in 1 2 3; do times+=("$(run_once "$work/out.csv" "$@")"); done
    local median wrong failed
    median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 2p)
    wrong=$(paste -d '\n' "$work/clean.csv" "$work/out.csv" | awk 'NR % 2 { clean = $0; next } $0 != clean && /,OK\r?$/' | wc -l)
    failed=$(tail -n +2 "$work/out.csv" | grep -vc ',OK' || true)
    printf '%-48s %8.3f s  %3d rows another file'"'"'s, %3d failed\n' "$label" "$median" "$wrong" "$failed"
}

meter=(--family contact --files 100)
run_once "$work/clean.csv" "${meter[@]}" > /dev/null
line "clean" "${meter[@]}"
line "every reply again 15 ms later" "${meter[@]}" --repeat 2 --repeat-gap-ms 15 --fault-only '{11'
line "every reply again 40 ms later" "${meter[@]}" --repeat 2 --repeat-gap-ms 40 --fault-only '{11'
line "CR LF after every reply" "${meter[@]}" --extra '\r\n' --fault-only '{11'
line "every tenth reply 1.1 s late" "${meter[@]}" --late-ms 1100 --late-every 10 --fault-only '{11'
