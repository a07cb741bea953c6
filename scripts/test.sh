#!/usr/bin/env bash
# Installs the packages, builds, and runs every test: once plainly, once under
# AddressSanitizer and UndefinedBehaviorSanitizer; then builds the Release
# benchmark (not timed) and runs the three fuzz targets (scripts/fuzz.sh).
# Each stage's whole printout goes to test-logs/STAGE.log; the terminal gets a
# line a stage, the end of the log of a stage that fails (then the script
# stops with that stage's exit status), and a last line when all passed.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
logs=test-logs
rm -rf "$logs"
mkdir -p "$logs"

# The stages, as functions so that each can be logged and timed as one.
# Commands are joined with && since errexit does not hold inside a function
# called as a condition.
deps() { bash scripts/install-deps.sh; }
build() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
        cmake --build build -j "$jobs"
}
tests() { ctest --test-dir build --output-on-failure -j "$jobs"; }
build_san() {
    cmake -S . -B build-san -DCMAKE_BUILD_TYPE=Debug -DKAVREL_SANITIZE=ON &&
        cmake --build build-san -j "$jobs"
}
tests_san() {
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-san --output-on-failure -j "$jobs"
}
# The benchmark build of docs/performance.md (Release, where GCC warns most): built, not timed.
build_bench() {
    cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release &&
        cmake --build build-bench -j "$jobs" --target kavrel_bench
}
fuzz() { bash scripts/fuzz.sh 60; }

# Runs one stage with its printout in its log and prints its line; on failure
# shows the log's end and stops.
stage() {  # NAME FUNCTION
    local name=$1 log=$logs/$1.log start=$SECONDS status=0
    "$2" >"$log" 2>&1 || status=$?
    local took=$((SECONDS - start))
    if ((status == 0)); then
        printf '%-12s ok      %5d s\n' "$name" "$took"
        return
    fi
    printf '%-12s FAILED  %5d s  (exit status %d)\n' "$name" "$took" "$status"
    echo "---- the last 60 lines of $log:"
    tail -n 60 "$log"
    echo "---- test: stage $name failed; its full printout is in $log"
    exit "$status"
}

start=$SECONDS
stage deps deps
stage build build
stage tests tests
stage build-san build_san
stage tests-san tests_san
stage build-bench build_bench
stage fuzz fuzz
echo "test: all 7 stages passed in $((SECONDS - start)) s; full printouts in $logs/"
