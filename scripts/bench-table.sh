#!/usr/bin/env bash
# Runs every benchmark in <build>/bench, each printing its own output, and
# closes with one table of the figures that have a target: the lines the
# benchmarks print as "@row|figure|value|reference|ratio|target|met".
#
#   scripts/bench-table.sh [build folder]     (default: build)
#
# Google Benchmark cases run for a short time each (BENCHMARK_MIN_TIME,
# default 0.05 s); cases with a fixed number of iterations keep it. Works
# without a display: the windows go to the offscreen platform.
set -u

build=${1:-build}
bench_dir=$build/bench
if [[ ! -d $bench_dir ]]; then
    echo "bench-table: no benchmarks in $bench_dir (build first)" >&2
    exit 1
fi

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    export QT_QPA_PLATFORM=offscreen
fi
export QT_AUDIO_BACKEND=${QT_AUDIO_BACKEND:-none}
export BENCHMARK_MIN_TIME=${BENCHMARK_MIN_TIME:-0.05}

# An empty build type in the cache is the project's own default; what counts
# is whether the code is optimised, as the compile flags say.
build_type=$(awk -F= '/^CMAKE_BUILD_TYPE:/ { print $2 }' "$build/CMakeCache.txt" 2>/dev/null)
flags=$(grep -m1 '^ *FLAGS = ' "$build/build.ninja" 2>/dev/null)
build_kind="build type ${build_type:-(project default)}, flags:${flags#*=}"
if [[ ! $flags =~ -O[123s] ]]; then
    echo "bench-table: warning: $build is not optimised ($build_kind); its figures say little" >&2
fi

rows=$(mktemp)
output=$(mktemp)
trap 'rm -f "$rows" "$output"' EXIT

failed=0
started=$SECONDS
for bench in "$bench_dir"/bench_*; do
    [[ -f $bench && -x $bench ]] || continue
    name=${bench##*/}
    echo "==== $name"
    bench_start=$SECONDS
    # The benchmark's own output goes by as it comes; the rows are kept.
    "$bench" 2>&1 | tee "$output"
    status=${PIPESTATUS[0]}
    grep '^@row|' "$output" >>"$rows"
    if ((status != 0)); then
        echo "@row|$name did not finish (exit status $status)|-|-|-|runs to the end|NOT met" >>"$rows"
        failed=1
    fi
    echo "==== $name: $((SECONDS - bench_start)) s"
done

echo
echo "Benchmarks: $((SECONDS - started)) s in all, $build_kind, $(nproc) cores," \
     "load average $(cut -d' ' -f1-3 /proc/loadavg)"
awk -F'|' '
    function dashes(count,   text) { text = ""; while (length(text) < count) text = text "-"; return text }
    function shown(text) { return (text ~ /^0(\.0+)? / || text == "") ? "-" : text }
    {
        n++
        cell[n, 1] = $2
        cell[n, 2] = $3
        cell[n, 3] = shown($4)
        cell[n, 4] = ($5 == "0" || $5 == "") ? "-" : $5
        cell[n, 5] = $6
        cell[n, 6] = $7
        if ($7 == "met") met++
    }
    END {
        split("figure|value|reference|ratio|target|met", head, "|")
        for (c = 1; c <= 6; c++) width[c] = length(head[c])
        for (r = 1; r <= n; r++)
            for (c = 1; c <= 6; c++)
                if (length(cell[r, c]) > width[c]) width[c] = length(cell[r, c])
        line = ""
        for (c = 1; c <= 6; c++) line = line sprintf("%-" width[c] "s  ", head[c])
        sub(/ +$/, "", line)
        print line
        line = ""
        for (c = 1; c <= 6; c++) line = line dashes(width[c]) "  "
        print line
        for (r = 1; r <= n; r++) {
            line = sprintf("%-" width[1] "s  ", cell[r, 1])
            for (c = 2; c <= 4; c++) line = line sprintf("%" width[c] "s  ", cell[r, c])
            for (c = 5; c <= 6; c++) line = line sprintf("%-" width[c] "s  ", cell[r, c])
            sub(/ +$/, "", line)
            print line
        }
        printf "%d of %d targets met\n", met, n
    }' "$rows"

exit "$failed"
