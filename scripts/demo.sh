#!/usr/bin/env bash
# Installs the packages, builds, and runs the demo session scripts. The
# snapshots, the DMX log and the full printout of each run land in demo-out/;
# the terminal gets a short summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
mkdir -p demo-out
out=$(pwd)/demo-out
# Pictures of an earlier run go, so the folder holds this run's only.
rm -f demo-out/[0-9][0-9]-*.png

# Runs a command with its whole printout in a file; on failure shows the
# printout's end and stops.
logged() {
    local log=$1
    shift
    if ! "$@" >"$log" 2>&1; then
        tail -n 5 "$log" >&2
        echo "demo: failed; the full printout is in $log" >&2
        exit 1
    fi
}

echo "Building kavrel (printout in demo-out/build.txt) ..."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
logged demo-out/build.txt cmake --build build -j 4 --target kavrel kavrel_sim_listener

logged demo-out/demo.txt build/kavrel --dmx-log demo-out/dmx.log examples/demo.kav

# The previews and the simulator link, streaming to a stand-in simulator on
# the loopback address; it writes what it received as demo-out/25-listener.png.
rm -f demo-out/listener.port
build/kavrel_sim_listener --port-file demo-out/listener.port --png demo-out/25-listener.png \
    --seconds 30 >demo-out/listener.txt 2>&1 &
listener=$!
for _ in $(seq 50); do [ -s demo-out/listener.port ] && break; sleep 0.1; done
sed "s/LISTENER_PORT/$(cat demo-out/listener.port)/" examples/preview-demo.kav >demo-out/preview-demo.kav
logged demo-out/preview-demo.txt build/kavrel demo-out/preview-demo.kav
wait "$listener"

pictures=$(find demo-out -maxdepth 1 -name '[0-9]*.png' | wc -l)
cat <<SUMMARY
The demo ran two sessions of the Kavrel plug-in in the stand-in host:
  examples/demo.kav          both banks, the crossfader, timed fades, the DMX
                             output, nine effect types built in their editors,
                             and the show saved as a project file
  examples/preview-demo.kav  the plain and the surface preview, and the link
                             streaming to a stand-in simulator
Everything is in $out:
  $pictures pictures   NN-*.png, numbered in the order taken (those taken
                at one moment share a number)
  project       show.Kavrel (examples/show.Kavrel holds the same bytes)
  DMX log       dmx.log (milliseconds, DMX address, value)
  printouts     demo.txt, preview-demo.txt, listener.txt, build.txt
SUMMARY
