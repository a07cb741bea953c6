#!/usr/bin/env bash
# Installs the packages, builds, and runs the demo session script.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target kavrel
mkdir -p demo-out
cd examples
../build/kavrel --dmx-log ../demo-out/dmx.log demo.kav
