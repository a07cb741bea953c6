// The DMX output as the host receives it.
#include <gtest/gtest.h>

#include <algorithm>

#include "kavrel_session.h"

namespace kavrel::testing {
namespace {

TEST(DmxOutput, SendsNothingUntilTheOutputSwitchIsTicked) {
    KavrelSession s;
    s.wait(500);
    EXPECT_TRUE(s.dmxCalls().empty());
    EXPECT_FALSE(s.form().updateDMXTimer.Enabled());
}

TEST(DmxOutput, SendsOnlyTheChannelsThatChanged) {
    KavrelSession s;
    auto& calls = s.dmxCalls();
    ASSERT_TRUE(s.driver.click("MatrixForm.dmx_active"));
    s.wait(25);
    ASSERT_EQ(calls.size(), 12u * 12u * 3u);
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].first, static_cast<int32_t>(i) + 1);
        EXPECT_EQ(calls[i].second, i % 3 == 1 ? 0 : 128) << "address " << i + 1;
    }
    EXPECT_FALSE(s.state().dirtyDmx);

    s.host.dmx().clearCalls();
    s.wait(200);
    EXPECT_TRUE(calls.empty());

    // All bank A: red goes to 255 and blue to 0; green stays 0 and is not sent.
    ASSERT_TRUE(s.driver.set("MatrixForm.faderM", "-100"));
    s.wait(25);
    ASSERT_EQ(calls.size(), 12u * 12u * 2u);
    for (const auto& [address, value] : calls) {
        EXPECT_NE((address - 1) % 3, 1) << address;
        EXPECT_EQ(value, (address - 1) % 3 == 0 ? 255 : 0) << address;
    }
}

TEST(DmxOutput, NoAddressAbove1024) {
    KavrelSession s(gridOptions(20, 20));  // 1200 channels
    ASSERT_TRUE(s.driver.click("MatrixForm.dmx_active"));
    s.wait(25);
    ASSERT_EQ(s.dmxCalls().size(), 1024u);
    EXPECT_EQ(std::max_element(s.dmxCalls().begin(), s.dmxCalls().end())->first, 1024);
}

TEST(DmxOutput, StopsWhenUntickedAndWithoutHelper) {
    KavrelSession s;
    auto& calls = s.dmxCalls();
    ASSERT_TRUE(s.driver.click("MatrixForm.dmx_active"));
    s.wait(25);
    ASSERT_TRUE(s.driver.click("MatrixForm.dmx_active"));
    EXPECT_FALSE(s.form().updateDMXTimer.Enabled());
    s.host.dmx().clearCalls();
    ASSERT_TRUE(s.driver.set("MatrixForm.faderM", "100"));
    s.wait(100);
    EXPECT_TRUE(calls.empty());

    ASSERT_TRUE(s.driver.click("MatrixForm.dmx_active"));
    s.plugin().Term();
    s.wait(100);
    EXPECT_TRUE(calls.empty());
}

}  // namespace
}  // namespace kavrel::testing
