#pragma once
// Where each DMX address in use takes its value from. Built once per channel
// map and grid, so that a frame's change scan is one pass over this table.
#include <array>
#include <cstdint>

namespace kavrel {

struct DmxChannelTable {
    static constexpr int kAddresses = 1024;
    // A value taken from a light outside the output frame: always 0.
    static constexpr int32_t kAlwaysZero = -1;

    struct Channel {
        int32_t address;  // 1..kAddresses
        int32_t offset;   // byte of the output frame from its first light, or kAlwaysZero
    };
    // The addresses in use in ascending order, count of them.
    std::array<Channel, kAddresses> channels{};
    int count = 0;

    // What the table was built from; nothing until the first build.
    bool built = false;
    uint64_t mapChanges = 0, configuredChanges = 0;
    int cols = 0, rows = 0, frameCols = 0, frameRows = 0;
};

}  // namespace kavrel
