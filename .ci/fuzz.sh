#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fuzzes the meter reply decoders and the export's cell escaping with
# libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer.
#
#   .ci/fuzz.sh                 every target for 15 s
#   FUZZ_SECONDS=600 .ci/fuzz.sh fuzz_cable_record    one target, longer
#
# Builds fuzz/ as a CMake project of its own with clang (in build-fuzz, or
# FUZZ_BUILD_DIR), so the program's own build is left alone. Each target runs
# on a scratch copy of its seed corpus in fuzz/corpus/<target>; a finding is
# kept as build-fuzz/findings/<target>/crash-* and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."

LLVM_VERSION="${LLVM_VERSION:-14}"
CXX_FUZZ="clang++-${LLVM_VERSION}"
SECONDS_PER_TARGET="${FUZZ_SECONDS:-15}"
BUILD_DIR="${FUZZ_BUILD_DIR:-build-fuzz}"

fuzzer_runtime_present() {
    compgen -G "/usr/lib/llvm-${LLVM_VERSION}/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" > /dev/null \
        || compgen -G "/usr/lib/llvm-${LLVM_VERSION}/lib/clang/*/lib/x86_64-*/libclang_rt.fuzzer.a" > /dev/null
}

# clang and its runtimes (libFuzzer, the sanitizers) from Debian's packages.
if ! command -v "$CXX_FUZZ" > /dev/null || ! fuzzer_runtime_present; then
    sudo_if_needed=()
    [ "$(id -u)" -eq 0 ] || sudo_if_needed=(sudo)
    "${sudo_if_needed[@]}" apt-get update -q
    "${sudo_if_needed[@]}" apt-get install -y -q --no-install-recommends \
        "clang-${LLVM_VERSION}" "libclang-rt-${LLVM_VERSION}-dev"
fi

cmake -S fuzz -B "$BUILD_DIR" -G Ninja -DCMAKE_CXX_COMPILER="$CXX_FUZZ" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$BUILD_DIR"

if [ "$#" -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for source in fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

summary=()
failed=0
for target in "${targets[@]}"; do
    scratch="$BUILD_DIR/corpus/$target"
    findings="$BUILD_DIR/findings/$target"
    log="$BUILD_DIR/$target.log"
    rm -rf "$scratch"
    mkdir -p "$scratch" "$findings"
    cp fuzz/corpus/"$target"/* "$scratch"/
    echo "== $target: ${SECONDS_PER_TARGET} s"
    status=0
    "$BUILD_DIR/$target" -max_total_time="$SECONDS_PER_TARGET" -print_final_stats=1 \
        -artifact_prefix="$findings/" "$scratch" > "$log" 2>&1 || status=$?
    executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
    corpus_size="$(find "$scratch" -type f | wc -l)"
    if [ "$status" -eq 0 ]; then
        summary+=("$(printf '%-22s %12s executions  corpus %5s  no findings' "$target" "${executions:-?}" "$corpus_size")")
    else
        failed=1
        summary+=("$(printf '%-22s %12s executions  FOUND A FAULT (exit %s), see %s' \
            "$target" "${executions:-?}" "$status" "$log")")
        tail -n 40 "$log"
    fi
done

echo
echo "Fuzzing, ${SECONDS_PER_TARGET} s per target:"
printf '  %s\n' "${summary[@]}"
exit "$failed"
