#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for the given number of
# seconds (default 20), as many at once as there are processors. The corpus grows in
# build-fuzz/fuzz-corpus/ from run to run; an input that crashes or breaks a check is kept in
# build-fuzz/fuzz-findings/<target>/ and fails the run.
# Copy each finding into tests/regressions/<target>/ once it is fixed. The BMP conformance suite
# in ../shared/bmpsuite, when it is there, seeds the BMP reader and the picture loader too.
#   ./scripts/fuzz.sh [seconds-per-target] [target...]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
BUILD="$ROOT/build-fuzz"

FUZZ_PACKAGES=(clang libclang-rt-14-dev)
TARGETS=(component_readings wildcard pcx bmp picture_loader)

seconds="${1:-20}"
shift || true
[ $# -gt 0 ] && TARGETS=("$@")

ensure_packages "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"

echo "== Build (clang, libFuzzer, ASan, UBSan) in $BUILD"
if [ ! -f "$BUILD/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVANTOK_FUZZERS=ON -DVANTOK_BENCHMARKS=OFF -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$BUILD" --target fuzz_seeds "${TARGETS[@]/#/fuzz_}"
"$BUILD/fuzz/fuzz_seeds" "$BUILD/fuzz-seeds"

SUITE="$ROOT/../shared/bmpsuite"

# Runs one target; its exit status says whether it found something.
fuzz_target() {
    local target="$1" corpus="$BUILD/fuzz-corpus/$1" findings="$BUILD/fuzz-findings/$1"
    mkdir -p "$corpus" "$findings"
    local seeds=("$BUILD/fuzz-seeds/$target")
    if { [ "$target" = bmp ] || [ "$target" = picture_loader ]; } && [ -d "$SUITE" ]; then
        seeds+=("$SUITE/g" "$SUITE/q" "$SUITE/b")
    fi
    # -timeout: a picture under the size limit decodes in well under a second even here; ten
    # seconds is a hang. -rss_limit_mb: the 512 MiB limit plus the sanitizers' own share.
    "$BUILD/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=3072 \
        -max_len=65536 -artifact_prefix="$findings/" -print_final_stats=1 \
        "$corpus" "${seeds[@]}" >"$BUILD/fuzz-$target.log" 2>&1
}

echo "== ${TARGETS[*]}: ${seconds} s each, $(nproc) at a time"
declare -A RUNNING=()
for target in "${TARGETS[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do
        wait -n || true
    done
    fuzz_target "$target" &
    RUNNING[$target]=$!
done

failed=()
for target in "${TARGETS[@]}"; do
    if ! wait "${RUNNING[$target]}"; then
        failed+=("$target")
        echo "$target:"
        grep -E 'ERROR|BROKEN|SUMMARY|Test unit written' "$BUILD/fuzz-$target.log" || true
    fi
    echo -n "$target: "
    grep -E '^#[0-9]+[[:space:]]+DONE' "$BUILD/fuzz-$target.log" || tail -3 "$BUILD/fuzz-$target.log"
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzzing found faults in: ${failed[*]} (logs in $BUILD/fuzz-<target>.log)" >&2
    exit 1
fi
echo "Fuzzing: no findings"
