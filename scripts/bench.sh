#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Release into build-release/, runs every benchmark in bench/ and prints the medians, then
# compares Vantok's start-up time and memory with a minimal Qt Widgets window under Xvfb, and
# prints every figure next to its target.
#   VANTOK_BENCH_RUNS    start-up runs per program (default 15)
#   VANTOK_BENCH_FILTER  passed to every benchmark as --benchmark_filter
#   VANTOK_BENCH_BIG_FOLDER  a folder of a million files for bench_big_folder, which otherwise
#                        makes one in the temporary folder (minutes on a slow disk) and removes it
#   VANTOK_BENCH_SUB_FOLDERS  the same for its folder of a million sub-folders
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
BUILD="$ROOT/build-release"  # kept apart from build/, whose type is the developer's choice
export LC_ALL=C

BENCH_PACKAGES=(xvfb xauth x11-utils jq)
# The benchmarks the targets below are read from; one missing is reported, not fatal.
EXPECTED_BENCHMARKS=(bench_main_window bench_file_list bench_big_folder bench_load bench_sample_chart
    bench_bmp bench_picture_box bench_grab bench_pixel)
RUNS="${VANTOK_BENCH_RUNS:-15}"

ensure_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

echo "== Build (Release) in $BUILD"
if [ ! -f "$BUILD/build.ninja" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DVANTOK_BENCHMARKS=ON >/dev/null
fi
mapfile -t declared < <(grep -ohE 'add_executable\((bench_[A-Za-z0-9_]+)' "$ROOT/bench/CMakeLists.txt" |
    sed 's/add_executable(//')
mapfile -t benchmarks < <(printf '%s\n' "${EXPECTED_BENCHMARKS[@]}" "${declared[@]}" | awk '!seen[$0]++')

# Builds each target on its own, so a target another change broke leaves the others measurable;
# a program whose build failed is not run, lest an older binary be measured.
declare -A BUILT=()
for target in vantok minimal_window "${benchmarks[@]}"; do
    if [ "$target" = vantok ] || [ "$target" = minimal_window ] ||
        printf '%s\n' "${declared[@]}" | grep -qx "$target"; then
        if cmake --build "$BUILD" --target "$target" >"$BUILD/build-$target.log" 2>&1; then
            BUILT[$target]=1
        else
            echo "  $target: not built (see $BUILD/build-$target.log)"
        fi
    fi
done

RESULTS="$BUILD/bench-results"
rm -rf "$RESULTS"
mkdir -p "$RESULTS"

echo
echo "== Benchmarks (median of 10 repetitions, wall-clock time)"
for bench in "${benchmarks[@]}"; do
    binary="$BUILD/bench/$bench"
    if [ -z "${BUILT[$bench]:-}" ]; then
        printf '%-22s not built\n' "$bench"
        continue
    fi
    # The screen grab reads a real X server's screen, of the size of a 4K monitor.
    display=()
    if [ "$bench" = bench_grab ]; then
        Xvfb :149 -screen 0 3840x2160x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        grab_xvfb=$!
        for _ in $(seq 50); do xdpyinfo -display :149 >/dev/null 2>&1 && break; sleep 0.1; done
        display=(env DISPLAY=:149)
    fi
    status=0
    "${display[@]}" "$binary" --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
        ${VANTOK_BENCH_FILTER:+--benchmark_filter="$VANTOK_BENCH_FILTER"} \
        --benchmark_out="$RESULTS/$bench.json" --benchmark_out_format=json >/dev/null \
        2>"$RESULTS/$bench.err" || status=$?
    [ "$bench" != bench_grab ] || kill "$grab_xvfb" 2>/dev/null || true
    [ "$status" -eq 0 ] || { printf '%-22s failed (see %s)\n' "$bench" "$RESULTS/$bench.err"; continue; }
    jq -r --arg bench "$bench" '.benchmarks[] | select(.aggregate_name == "median")
        | [$bench, .run_name, (.real_time | tostring), .time_unit] | @tsv' "$RESULTS/$bench.json" |
        awk -F'\t' '{ printf "%-22s %-40s %12.3f %s\n", $1, $2, $3, $4 }'
done

# The median wall-clock time in microseconds of the first benchmark in $1 whose name matches the
# regular expression $2 (case-insensitive) and not $3; empty when there is none.
median_us() {
    local json="$RESULTS/$1.json"
    [ -f "$json" ] || return 0
    jq -r --arg match "$2" --arg skip "${3:-^$}" '[.benchmarks[]
        | select(.aggregate_name == "median" and (.run_name | test($match; "i"))
                 and ((.run_name | test($skip; "i")) | not))][0]
        | if . == null then empty else
          .real_time * ({"ns": 0.001, "us": 1, "ms": 1000, "s": 1000000}[.time_unit]) end' "$json"
}

# Start-up: the program prints when its first frame was flushed (app/first_paint_report.h); the
# difference to the moment just before it was started is the start-up time. Memory is the
# resident set one second after that frame.
# Prints "<start-up µs> <VmRSS kB>" for one run of the program $1, or nothing when it never painted.
measure_start() {
    local program="$1" err="$RESULTS/start.err" start painted="" rss pid
    rm -f "$err"  # a report left from the run before must not be read as this one's
    start="${EPOCHREALTIME/./}"
    (cd "$RESULTS" && DISPLAY="$XVFB_DISPLAY" QT_QPA_PLATFORM=xcb VANTOK_REPORT_FIRST_PAINT=1 \
        exec "$program" 2>"$err") &
    pid=$!
    for _ in $(seq 1000); do
        painted="$(sed -n 's/^first-paint-us \([0-9]*\)$/\1/p' "$err" 2>/dev/null)"
        [ -n "$painted" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.01
    done
    if [ -n "$painted" ]; then
        sleep 1
        rss="$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")"
        echo "$((painted - start)) $rss"
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

echo
echo "== Start-up under Xvfb ($RUNS alternating runs each)"
VANTOK_BIN="$BUILD/vantok"
MINIMAL_BIN="$BUILD/bench/minimal_window"
: >"$RESULTS/start-vantok.txt"
: >"$RESULTS/start-minimal.txt"
if [ -n "${BUILT[vantok]:-}" ] && [ -n "${BUILT[minimal_window]:-}" ] && start_xvfb 150 199; then
    measure_start "$MINIMAL_BIN" >/dev/null  # warm the font and shader caches for both
    measure_start "$VANTOK_BIN" >/dev/null
    for run in $(seq "$RUNS"); do
        measure_start "$MINIMAL_BIN" >>"$RESULTS/start-minimal.txt"
        measure_start "$VANTOK_BIN" >>"$RESULTS/start-vantok.txt"
        printf '.'
    done
    echo " done"
else
    echo "  not built: vantok or minimal_window"
fi
start_vantok="$(cut -d' ' -f1 "$RESULTS/start-vantok.txt" | median)"
start_minimal="$(cut -d' ' -f1 "$RESULTS/start-minimal.txt" | median)"
rss_vantok="$(cut -d' ' -f2 "$RESULTS/start-vantok.txt" | median)"
rss_minimal="$(cut -d' ' -f2 "$RESULTS/start-minimal.txt" | median)"
if [ -n "$start_vantok" ] && [ -n "$start_minimal" ]; then
    printf '  %-12s %10s %12s\n' "" "first frame" "VmRSS"
    printf '  %-12s %7.1f ms %9.1f MB\n' vantok "$(echo "$start_vantok" | awk '{ print $1 / 1000 }')" \
        "$(echo "$rss_vantok" | awk '{ print $1 / 1024 }')"
    printf '  %-12s %7.1f ms %9.1f MB\n' minimal "$(echo "$start_minimal" | awk '{ print $1 / 1000 }')" \
        "$(echo "$rss_minimal" | awk '{ print $1 / 1024 }')"
fi

# One row: what, the measured figure (empty when missing), how it compares, the limit, the unit.
row() {
    local label="$1" value="$2" op="$3" limit="$4" unit="$5" verdict
    if [ -z "$op" ] && [ -n "$value" ]; then
        printf '%-34s %14.3f   %-9s no target\n' "$label" "$value" "$unit"
        return
    fi
    if [ -z "$value" ]; then
        printf '%-34s %14s   %-2s %-3s %-2s\n' "$label" "not measured" "$op" "$limit" "$unit"
        return
    fi
    verdict="$(awk -v v="$value" -v l="$limit" -v op="$op" 'BEGIN {
        ok = (op == "<") ? v < l : v <= l; print ok ? "met" : "MISSED" }')"
    printf '%-34s %14.3f   %-2s %-3s %-2s  %s\n' "$label" "$value" "$op" "$limit" "$unit" "$verdict"
}
# The counter $4 of the aggregate $3 (median, max) of the first benchmark in $1 matching $2.
counter() {
    local json="$RESULTS/$1.json"
    [ -f "$json" ] || return 0
    jq -r --arg match "$2" --arg aggregate "$3" --arg counter "$4" '[.benchmarks[]
        | select(.aggregate_name == $aggregate and (.run_name | test($match; "i")))][0]
        | if . == null or .[$counter] == null then empty else .[$counter] end' "$json"
}
ratio() { [ -n "$1" ] && [ -n "$2" ] && awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) print a / b }'; }
in_ms() { [ -n "$1" ] && awk -v v="$1" 'BEGIN { print v / 1000 }'; }

echo
echo "== Figures and targets (medians; for the chooser on a million files, the worst of the runs)"
row "start-up, vantok / minimal window" "$(ratio "$start_vantok" "$start_minimal")" "<=" 1.3 x
row "memory, vantok / minimal window" "$(ratio "$rss_vantok" "$rss_minimal")" "<=" 1.5 x
row "pick to swatch repainted" "$(in_ms "$(median_us bench_main_window 'PickToSwatch')")" "<" 1 ms
row "keystroke to swatch repainted" \
    "$(in_ms "$(median_us bench_main_window 'KeystrokeToSwatch' 'Megabyte')")" "<" 1 ms
row "keystroke with 1 MB in the box" \
    "$(in_ms "$(median_us bench_main_window 'KeystrokeToSwatchInMegabyte')")" "" "" ms
row "refilter of 100,000 names" "$(in_ms "$(median_us bench_file_list '^refilter$')")" "<" 20 ms
row "refilter of 100,000 names, shown" "$(in_ms "$(median_us bench_file_list 'refilterShown')")" "<" 20 ms
row "listing 1,000,000 / readdir + sort" \
    "$(ratio "$(median_us bench_big_folder '^fileListListing')" "$(median_us bench_big_folder '^bareListing/')")" "<=" 1.5 x
row "chooser on 1,000,000: worst stall" "$(counter bench_big_folder '^chooserOpening/' max longest_stall_ms)" "<" 1000 ms
row "chooser on 1,000,000: first rows" "$(counter bench_big_folder '^chooserOpening/' max first_rows_ms)" "<=" 1500 ms
row "1,000,000 sub-folders / readdir" \
    "$(ratio "$(median_us bench_big_folder '^directoryListListing')" "$(median_us bench_big_folder '^bareListingOfSubFolders')")" "<=" 1.5 x
row "chooser, 1M sub-folders: stall" \
    "$(counter bench_big_folder '^chooserOpeningAmongSubFolders/' max longest_stall_ms)" "<" 1000 ms
row "chooser, 1M sub-folders: 1st rows" \
    "$(counter bench_big_folder '^chooserOpeningAmongSubFolders/' max first_rows_ms)" "<=" 1500 ms
row "chooser load / bare decode, 24 MP" \
    "$(ratio "$(median_us bench_load '^chooserClick')" "$(median_us bench_load '^bareDecode')")" "<=" 1.5 x
# Both decodes run in bench_bmp, which links the BMP reader without its plugin so that Qt's
# built-in decoder stays reachable.
row "BMP decode, own / Qt's, 4K 24-bit" \
    "$(ratio "$(median_us bench_bmp '^decodeOwn')" "$(median_us bench_bmp '^decodeQt')")" "<=" 0.5 x
row "grab of 3840 × 2160 to the frozen screen painted" "$(in_ms "$(median_us bench_grab '^BM_GrabToFrozenScreen')")" "<=" 150 ms
row "pointer move to the loupe painted" "$(in_ms "$(median_us bench_grab '^BM_LoupeFollowsPointer')")" "<=" 2 ms
row "held move on a 100 MP picture to the loupe painted" "$(in_ms "$(median_us bench_picture_box '^BM_LoupeFollowsHeldPointer')")" "<=" 2 ms
# The whole --pixel process against a process that makes a QCoreApplication and decodes the
# file, in wall-clock and in CPU time; and against the decode alone in the benchmark's process.
row "--pixel / bare decode, 24 MP PNG" \
    "$(ratio "$(median_us bench_pixel '^pixelCommand/')" "$(median_us bench_pixel '^bareDecodeProcess/')")" "<=" 1.2 x
row "  the same in CPU time" \
    "$(ratio "$(counter bench_pixel '^pixelCommand/' median child_cpu_ms)" \
        "$(counter bench_pixel '^bareDecodeProcess/' median child_cpu_ms)")" "<=" 1.2 x
row "  against the decode in process" \
    "$(ratio "$(median_us bench_pixel '^pixelCommand/')" "$(median_us bench_pixel '^bareDecode/')")" "<=" 1.2 x
row "--pixel / bare decode, 1-pixel PNG" \
    "$(ratio "$(median_us bench_pixel '^pixelCommandStart')" "$(median_us bench_pixel '^bareDecodeProcessStart')")" "" "" x
row "chart generation" "$(in_ms "$(median_us bench_sample_chart '^generateChart')")" "<" 0.5 ms
row "pan step, 100 MP, 1:1" "$(in_ms "$(median_us bench_picture_box '^BM_PanStep/0')")" "<=" 8 ms
row "pan step, 100 MP, 3x" "$(in_ms "$(median_us bench_picture_box '^BM_PanStep/2')")" "<=" 8 ms
row "pan step, 100 MP, 1/3" "$(in_ms "$(median_us bench_picture_box '^BM_PanStep/-2')")" "<=" 8 ms
row "zoom step, 100 MP, 2x to 3x" "$(in_ms "$(median_us bench_picture_box '^BM_ZoomStep/1')")" "<=" 8 ms
row "zoom step, 100 MP, at the fit" "$(in_ms "$(median_us bench_picture_box '^BM_ZoomStep/-20')")" "<=" 8 ms
echo
echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
    "$(awk '/MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Raw results in $RESULTS"
