#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# CI: the benchmark in its short form (42 files unpaced, one run per meter
# family), for the window and for kestrix-download, so that both keep building
# and running. It prints its tables; no timing is checked. It fails only when a
# load fails or shows other rows than the simulator holds.
set -euo pipefail
cd "$(dirname "$0")/.."
# build/ is the folder scripts/test.sh builds; configure it the same way if it is missing.
if [ ! -f build/build.ninja ]; then
    bash scripts/build.sh build -DKESTRIX_WERROR=ON
fi
cmake --build build --target kestrix-bench --parallel "$(nproc)"
QT_QPA_PLATFORM=offscreen build/bench/kestrix-bench --quick
QT_QPA_PLATFORM=offscreen build/bench/kestrix-bench --quick --command-line
