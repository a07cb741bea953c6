#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "host/orva_host.h"
#include "tests/host/fake_plugin.h"

using hosttest::FakePlugin;
using hosttest::FakeRecord;
using orva::HostError;
using orva::OrvaHost;
using Calls = std::vector<std::string>;

TEST(HostOrva, DmxKeepsTheLastValueOfEachAddressAndLogsEveryValueSent) {
    int64_t now = 0;
    orva::HostDmxOutput dmx([&] { return now; });
    std::ostringstream log;
    dmx.setLog(&log);
    dmx.setChannel(513, 10);
    now = 25;
    dmx.setChannel(513, 10);  // a repeat is logged: the plug-in sent it
    dmx.setChannel(2, 255);
    dmx.setChannel(7, 0);
    now = 50;
    dmx.setChannel(513, 0);
    EXPECT_EQ(log.str(), "0 513 10\n25 513 10\n25 2 255\n25 7 0\n50 513 0\n");
    EXPECT_EQ(dmx.value(513), 0);
    EXPECT_EQ(dmx.value(2), 255);
    EXPECT_EQ(dmx.value(1024), 0);
    EXPECT_EQ(dmx.nonZero(), (std::vector<std::pair<int32_t, uint8_t>>{{2, 255}}));

    // Addresses outside the output's own are kept too, in address order.
    dmx.setChannel(5000, 3);
    dmx.setChannel(-4, 9);
    dmx.setChannel(1024, 1);
    EXPECT_EQ(dmx.value(5000), 3);
    EXPECT_EQ(dmx.value(-4), 9);
    EXPECT_EQ(dmx.nonZero(),
              (std::vector<std::pair<int32_t, uint8_t>>{{-4, 9}, {2, 255}, {1024, 1}, {5000, 3}}));
}

TEST(HostOrva, ProjectInfoTellsPathAndFileNameOrFailsWhenSwitched) {
    FakeRecord record;
    OrvaHost host(hosttest::fakeFactory(record));
    EXPECT_EQ(host.getProjectInfo()->getFilePath(), "");
    EXPECT_EQ(host.getProjectInfo()->getFileName(), "");
    host.setProjectFile("/shows/summer/party.Kavrel");
    auto info = host.getProjectInfo();
    EXPECT_EQ(info->getFilePath(), "/shows/summer/party.Kavrel");
    EXPECT_EQ(info->getFileName(), "party.Kavrel");
    host.setProjectFile("party.Kavrel");
    EXPECT_EQ(host.getProjectInfo()->getFileName(), "party.Kavrel");
    host.setProjectInfoFails(true);
    EXPECT_THROW(host.getProjectInfo(), HostError);
    EXPECT_EQ(host.outputChannelCount(), 1024);
}

TEST(HostOrva, LifeCycleRunsInTheHostsOrderAndReleasesThePlugin) {
    FakeRecord record;
    OrvaHost host(hosttest::fakeFactory(record));
    EXPECT_THROW(host.plugin(), HostError);
    Calls seenAtPrepare{"none"};
    host.open({}, [&](orva::HostedPlugin&) { seenAtPrepare = record.calls; });
    EXPECT_TRUE(seenAtPrepare.empty());  // prepared before any plug-in call
    EXPECT_EQ(record.calls, (Calls{"Init", "getModuleInfo", "loadWindow", "showWindow"}));
    EXPECT_EQ(host.plugin().desktop().peekWindow("TestForm")->Visible(), true);
    EXPECT_THROW(host.open({}), HostError);
    host.close();
    EXPECT_FALSE(host.isOpen());
    EXPECT_EQ(record.calls,
              (Calls{"Init", "getModuleInfo", "loadWindow", "showWindow", "unloadWindow", "Term"}));
    host.close();  // nothing open: nothing happens
    EXPECT_EQ(record.calls.size(), 6u);
}

TEST(HostOrva, BeatReachesOnlyAPluginThatAskedForIt) {
    for (bool wants : {false, true}) {
        FakeRecord record;
        OrvaHost host(hosttest::fakeFactory(record, wants));
        EXPECT_THROW(host.beat(), HostError);  // nothing open yet
        host.open({});
        EXPECT_EQ(host.beat(), wants);
        EXPECT_EQ(record.beats, wants ? 1 : 0);
        EXPECT_TRUE(host.sendMessage(orva::kMessageBlackout, 0));
        EXPECT_FALSE(host.sendMessage(orva::kMessageFreeze, 0));
        EXPECT_EQ(record.hostMessages,
                  wants ? (std::vector<int32_t>{9, 14}) : (std::vector<int32_t>{14}));
    }
}

TEST(HostOrva, CommandsRunThroughTheCommandServer) {
    FakeRecord record;
    OrvaHost host(hosttest::fakeFactory(record));
    host.open({});
    host.runCommand("send beat signal", "", 0);
    EXPECT_EQ(record.commandOption, "do");  // the command's own option
    EXPECT_EQ(record.beats, 1);
    host.runCommand("set fader", "select", 0.25);
    EXPECT_EQ(record.commandOption, "select");
    EXPECT_DOUBLE_EQ(record.fader, 0.25);
    EXPECT_THROW(host.runCommand("Send Beat Signal", "", 0), HostError);
    EXPECT_EQ(record.beats, 1);
}
