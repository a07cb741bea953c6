#!/usr/bin/env bash
# Builds the project reader's fuzz target with clang and runs it briefly on a
# copy of the seed corpus (project files Kavrel wrote). Any crash, hang or
# sanitizer report fails. Seconds to run: the first argument (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
jobs=$(nproc)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "$jobs" --target kavrel_fuzz_project
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp fuzz/corpus/* examples/*.Kavrel "$corpus"/
build-fuzz/kavrel_fuzz_project -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus"
