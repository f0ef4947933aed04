#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Configures and builds into the given folder; extra arguments go to CMake.
#   scripts/build.sh build [--target NAME]... [CMake arguments]
# Without --target everything is built: the program, the simulator, the
# benchmark and every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?build folder}
shift
targets=()
while [ "${1:-}" = "--target" ]; do
    targets+=(--target "${2:?target name}")
    shift 2
done
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)" "${targets[@]}"
