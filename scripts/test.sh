#!/usr/bin/env bash
# Installs the packages, builds, and runs every test: once plainly, once under
# AddressSanitizer and UndefinedBehaviorSanitizer; then builds the Release
# benchmark and runs the project reader's fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
cmake -S . -B build-san -DCMAKE_BUILD_TYPE=Debug -DKAVREL_SANITIZE=ON >/dev/null
cmake --build build-san -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-san --output-on-failure -j "$jobs"
# The README's benchmark build (Release, where GCC warns most): built, not timed.
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench -j "$jobs" --target kavrel_bench
bash scripts/fuzz.sh 60
