#!/usr/bin/env bash
# Builds the fuzz targets with clang, every library instrumented, and runs
# each briefly on a copy of its seed corpus: the project reader (project files
# Kavrel wrote), the session-script reader (the example scripts) and the
# picture header check (small pictures of each format). Any crash, hang or
# sanitizer report fails. Seconds for the project reader: the first argument
# (default 60); for each other target: the second (default 30).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
others=${2:-30}
jobs=$(nproc)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVREL_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs" \
    --target kavrel_fuzz_project kavrel_fuzz_script kavrel_fuzz_picture_header
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Inputs stay within 4 KiB (a long seed is cut): every parser meets its
# headers and first lines there, and short inputs run fast.
run() {  # TARGET SECONDS SEED...
    local target=$1 time=$2
    shift 2
    mkdir "$work/$target"
    cp "$@" "$work/$target"/
    build-fuzz/"$target" -max_total_time="$time" -timeout=5 -rss_limit_mb=2048 -max_len=4096 \
        -print_final_stats=1 "$work/$target"
}
run kavrel_fuzz_project "$seconds" fuzz/corpus/* examples/*.Kavrel
run kavrel_fuzz_script "$others" fuzz/script-corpus/* examples/*.kav
run kavrel_fuzz_picture_header "$others" fuzz/picture-corpus/*
