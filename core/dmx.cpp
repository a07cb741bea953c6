#include "core/dmx.h"

#include <array>

namespace kavrel {

DmxChanges collectDmxChanges(SharedState& state) {
    DmxChanges changes;
    collectDmxChanges(state, changes);
    return changes;
}

namespace {

// Builds the table again when the channel map, the configured lights, the
// grid or the output frame's shape changed since it was built.
void refreshTable(SharedState& state) {
    DmxChannelTable& t = state.dmxTable;
    const int w = state.gridCols();
    const int h = state.gridRows();
    const Frame& frame = state.frameM;
    if (t.built && t.mapChanges == state.channelMap.changes() &&
        t.configuredChanges == state.cellConfigured.changes() && t.cols == w && t.rows == h &&
        t.frameCols == frame.cols() && t.frameRows == frame.rows())
        return;

    // The source of each address; when several lights share one, the last
    // in row order wins.
    constexpr int kMax = DmxChannelTable::kAddresses;
    constexpr int32_t kUnused = -2;
    std::array<int32_t, kMax + 1> source;
    source.fill(kUnused);
    const uint8_t* first = frame.row(0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!state.cellConfigured.get(x, y, false)) continue;
            const LightChannels channels = state.channelMap.get(x, y, {0, 0, 0});
            for (int c = 0; c < 3; ++c) {
                const int32_t address = channels[static_cast<size_t>(c)];
                if (address < 1 || address > kMax) continue;
                source[static_cast<size_t>(address)] =
                    frame.contains(x, y)
                        ? static_cast<int32_t>(frame.row(y) - first) + x * Frame::kComponents + c
                        : DmxChannelTable::kAlwaysZero;
            }
        }
    }
    t.count = 0;
    for (int32_t address = 1; address <= kMax; ++address)
        if (source[static_cast<size_t>(address)] != kUnused)
            t.channels[static_cast<size_t>(t.count++)] = {address,
                                                          source[static_cast<size_t>(address)]};

    t.built = true;
    t.mapChanges = state.channelMap.changes();
    t.configuredChanges = state.cellConfigured.changes();
    t.cols = w;
    t.rows = h;
    t.frameCols = frame.cols();
    t.frameRows = frame.rows();
}

}  // namespace

void collectDmxChanges(SharedState& state, DmxChanges& changes) {
    changes.clear();
    refreshTable(state);
    const DmxChannelTable& t = state.dmxTable;
    const uint8_t* frame = state.frameM.row(0);
    for (int i = 0; i < t.count; ++i) {
        const DmxChannelTable::Channel ch = t.channels[static_cast<size_t>(i)];
        const int32_t value = ch.offset >= 0 ? frame[ch.offset] : 0;
        int32_t& sent = state.dmxSent[static_cast<size_t>(ch.address)];
        if (value == sent) continue;
        sent = value;
        changes.emplace_back(ch.address, static_cast<uint8_t>(value));
    }
}

}  // namespace kavrel
