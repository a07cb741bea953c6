#!/usr/bin/env bash
# Installs the packages, builds, and runs the demo session script. The
# snapshots of the preview panes and the DMX log land in demo-out/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target kavrel
mkdir -p demo-out
build/kavrel --dmx-log demo-out/dmx.log examples/demo.kav
echo "Snapshots and DMX log written to $(pwd)/demo-out"
