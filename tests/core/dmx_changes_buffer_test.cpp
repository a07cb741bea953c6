// Collecting DMX changes into a held buffer gives what the returning form
// gives, replaces what the buffer held and keeps its capacity.
#include <gtest/gtest.h>

#include "core/dmx.h"

namespace kavrel {
namespace {

TEST(CoreDmxBuffer, HeldBufferMatchesTheReturnedChangesAndIsReused) {
    SharedState held, returned;
    for (SharedState* s : {&held, &returned}) {
        s->sizeGrid(20, 20);  // 1200 channels, 1024 sent
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                s->frameM.setRgb(x, y, static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 3),
                                 static_cast<uint8_t>(x + y));
    }
    DmxChanges buffer{{5, 5}, {9, 9}};  // stale content must go
    collectDmxChanges(held, buffer);
    EXPECT_EQ(buffer, collectDmxChanges(returned));
    const size_t capacity = buffer.capacity();
    const auto* storage = buffer.data();

    held.frameM.at(19, 16, 2) = 1;  // address 3 * (16 * 20 + 19) + 3 = 1020
    returned.frameM.at(19, 16, 2) = 1;
    collectDmxChanges(held, buffer);
    EXPECT_EQ(buffer, collectDmxChanges(returned));
    EXPECT_EQ(buffer, (DmxChanges{{1020, 1}}));
    EXPECT_EQ(buffer.capacity(), capacity);
    EXPECT_EQ(buffer.data(), storage);

    collectDmxChanges(held, buffer);
    EXPECT_TRUE(buffer.empty());
}

}  // namespace
}  // namespace kavrel
