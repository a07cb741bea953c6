#include "core/dmx.h"

#include <array>

namespace kavrel {

DmxChanges collectDmxChanges(SharedState& state) {
    DmxChanges changes;
    collectDmxChanges(state, changes);
    return changes;
}

void collectDmxChanges(SharedState& state, DmxChanges& changes) {
    changes.clear();
    constexpr int kMax = SharedState::kDmxAddresses;
    std::array<int32_t, kMax + 1> wanted;
    wanted.fill(-1);

    const int w = state.gridCols();
    const int h = state.gridRows();
    // Arrays sized with the grid (always, but for hand-made states) are read
    // without a bounds check per light.
    const bool covered = w > 0 && h > 0 && state.cellConfigured.contains(w - 1, h - 1) &&
                         state.channelMap.contains(w - 1, h - 1) &&
                         state.frameM.contains(w - 1, h - 1);
    for (int y = 0; y < h; ++y) {
        const uint8_t* light = covered ? state.frameM.row(y) : nullptr;
        for (int x = 0; x < w; ++x) {
            const bool configured =
                covered ? state.cellConfigured.at(x, y) : state.cellConfigured.get(x, y, false);
            if (!configured) continue;
            const LightChannels& channels =
                covered ? state.channelMap.at(x, y) : state.channelMap.get(x, y, {0, 0, 0});
            for (int c = 0; c < 3; ++c) {
                const int32_t address = channels[static_cast<size_t>(c)];
                if (address < 1 || address > kMax) continue;
                wanted[static_cast<size_t>(address)] =
                    covered ? light[x * Frame::kComponents + c] : state.frameM.get(x, y, c);
            }
        }
    }

    for (int32_t address = 1; address <= kMax; ++address) {
        const int32_t value = wanted[static_cast<size_t>(address)];
        int32_t& sent = state.dmxSent[static_cast<size_t>(address)];
        if (value < 0 || value == sent) continue;
        sent = value;
        changes.emplace_back(address, static_cast<uint8_t>(value));
    }
}

}  // namespace kavrel
