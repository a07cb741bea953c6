#!/usr/bin/env bash
# Builds the fuzz targets with clang, every library instrumented, and runs
# each briefly on a copy of its seed corpus: the project reader (project files
# Kavrel wrote), the session-script reader (the example scripts), the
# picture header check and the picture copy against the whole file (small
# pictures of each format). Any crash, hang or
# sanitizer report fails. Seconds for the project reader: the first argument
# (default 60); for each other target: the second (default 30).
# The build's printout goes to build-fuzz/build.log, libFuzzer's own to
# build-fuzz/fuzz-logs/TARGET.log; the terminal gets a line a target (runs,
# seconds, crashes) and a last line that says whether all passed. A failing target leaves its input where libFuzzer
# writes it, in this folder (crash-*, leak-*, timeout-*, oom-*).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
others=${2:-30}
jobs=$(nproc)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVREL_FUZZ=ON >/dev/null
# The build's printout goes to a log too; its end is shown when it fails.
if ! cmake --build build-fuzz -j "$jobs" \
    --target kavrel_fuzz_project kavrel_fuzz_script kavrel_fuzz_picture_header \
    kavrel_fuzz_picture_differential \
    >build-fuzz/build.log 2>&1; then
    tail -n 40 build-fuzz/build.log
    echo "fuzz: the build FAILED; its printout is in build-fuzz/build.log"
    exit 1
fi
logs=build-fuzz/fuzz-logs
rm -rf "$logs"
mkdir -p "$logs"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
# Inputs stay within 4 KiB (a long seed is cut): every parser meets its
# headers and first lines there, and short inputs run fast.
run() {  # TARGET SECONDS SEED...
    local target=$1 time=$2 log=$logs/$1.log start=$SECONDS status=0
    shift 2
    mkdir "$work/$target"
    cp "$@" "$work/$target"/
    build-fuzz/"$target" -max_total_time="$time" -timeout=5 -rss_limit_mb=2048 -max_len=4096 \
        -print_final_stats=1 "$work/$target" >"$log" 2>&1 || status=$?
    # The final statistics give the runs; a run stopped short of them has
    # its last progress line ("#1234 ...") instead.
    local runs crashes
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    [[ -n $runs ]] || runs=$(sed -n 's/^#\([0-9][0-9]*\).*/\1/p' "$log" | tail -n 1)
    crashes=$(grep -c 'Test unit written to' "$log" || true)
    printf '%-28s %10s runs %5d s  %d crashes' "$target" "${runs:-0}" $((SECONDS - start)) "$crashes"
    if ((status == 0)); then
        printf '  ok\n'
    else
        printf '  FAILED (exit status %d; see %s)\n' "$status" "$log"
        grep 'Test unit written to' "$log" | sed 's/^/    /' || true
        failed=$((failed + 1))
    fi
}
run kavrel_fuzz_project "$seconds" fuzz/corpus/* examples/*.Kavrel
run kavrel_fuzz_script "$others" fuzz/script-corpus/* examples/*.kav
run kavrel_fuzz_picture_header "$others" fuzz/picture-corpus/*
run kavrel_fuzz_picture_differential "$others" fuzz/picture-corpus/* \
    tests/platform/pictures/picture-corpus/*.{bmp,gif,ico,jpg,png}
if ((failed == 0)); then
    echo "fuzz: all 4 targets passed; libFuzzer's printouts are in $logs/"
else
    echo "fuzz: $failed of 4 targets FAILED; libFuzzer's printouts are in $logs/"
    exit 1
fi
