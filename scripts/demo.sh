#!/usr/bin/env bash
# Installs the packages, builds, and runs the demo session script. The
# snapshots of the preview panes and the DMX log land in demo-out/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j 4 --target kavrel kavrel_sim_listener
mkdir -p demo-out
build/kavrel --dmx-log demo-out/dmx.log examples/demo.kav

# The previews and the simulator link, streaming to a stand-in simulator on
# the loopback address; it writes what it received as demo-out/14-listener.png.
rm -f demo-out/listener.port
build/kavrel_sim_listener --port-file demo-out/listener.port --png demo-out/14-listener.png \
    --seconds 30 &
listener=$!
for _ in $(seq 50); do [ -s demo-out/listener.port ] && break; sleep 0.1; done
sed "s/LISTENER_PORT/$(cat demo-out/listener.port)/" examples/preview-demo.kav >demo-out/preview-demo.kav
build/kavrel demo-out/preview-demo.kav
wait "$listener"
echo "Snapshots and DMX log written to $(pwd)/demo-out"
