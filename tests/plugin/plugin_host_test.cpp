// The plug-in as the host sees it: life cycle, module information, host
// messages and commands, and the beat dispatcher behind them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/mx_commands.h"
#include "tests/core/kavrel_session.h"
#include "tests/support/scripted_effect.h"

namespace kavrel::testing {
namespace {

// The host's helper, standing alone: the host itself would open the window.
struct BareHelper : orva::OrvaPluginHelper {
    std::shared_ptr<orva::OrvaProjectInfo> getProjectInfo() override { return nullptr; }
    orva::DmxOutput& dmxOutput() override { return dmx; }
    int32_t outputChannelCount() override { return 1024; }
    orva::HostDmxOutput dmx{[] { return int64_t{0}; }};
};

TEST(PluginHost, ModuleInfoMakesTheWindowHolderWithoutLoadingIt) {
    BareHelper helper;
    clsOrvaPlugIn plugin{InstanceOptions{}};
    ASSERT_TRUE(plugin.Init(helper));
    const orva::ModuleInfo info = plugin.getModuleInfo();
    EXPECT_EQ(info.hostMessages, std::vector<int32_t>{orva::kMessageBeat});
    ASSERT_NE(info.window, nullptr);
    ASSERT_NE(info.commands, nullptr);
    EXPECT_EQ(plugin.mainWindow().loadedForm(), nullptr);
    const orva::ModuleInfo again = plugin.getModuleInfo();
    EXPECT_EQ(again.window, info.window);
    EXPECT_EQ(again.commands, info.commands);

    const auto commands = info.commands->commands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].key, "send beat signal");
    EXPECT_EQ(commands[0].options, std::vector<std::string>{"do"});
    EXPECT_FALSE(info.commands->execute("no such command", "do", 0));
    // A beat before the window exists reaches nothing and breaks nothing.
    EXPECT_TRUE(info.commands->execute("send beat signal", "do", 0));
    plugin.hostMessage(orva::kMessageBeat, 0);
}

TEST(PluginHost, InitKeepsTheHelperAndClearsBeatFlagsTermDropsIt) {
    BareHelper helper;
    clsOrvaPlugIn plugin{InstanceOptions{}};
    plugin.kavrel().state().bankA.beat = true;
    plugin.kavrel().state().bankB.beat = true;
    ASSERT_TRUE(plugin.Init(helper));
    EXPECT_EQ(plugin.kavrel().pluginHelper, &helper);
    EXPECT_FALSE(plugin.kavrel().state().bankA.beat);
    EXPECT_FALSE(plugin.kavrel().state().bankB.beat);
    plugin.Term();
    EXPECT_EQ(plugin.kavrel().pluginHelper, nullptr);
}

TEST(PluginHost, BeatReachesOnlyBanksWithTheirFlagSet) {
    KavrelSession s;
    std::string reached;
    installScripted(s.k().effects(), EffectType::Color).onBeat = [&](BankContext& b) {
        reached += b.state().letter;
    };
    s.plugin().hostMessage(orva::kMessageBeat, 0);
    EXPECT_EQ(reached, "");

    s.state().bankB.beat = true;
    s.plugin().hostMessage(orva::kMessageBeat, 0);
    EXPECT_EQ(reached, "B");

    s.state().bankA.beat = true;
    s.info.commands->execute(MxCommands::kBeatCommand, "do", 0);
    EXPECT_EQ(reached, "BAB");

    s.plugin().hostMessage(orva::kMessageBlackout, 0);  // not a beat
    EXPECT_EQ(reached, "BAB");

    // The running entry's type decides; no running entry, no beat.
    s.state().bankB.eff[0].type = static_cast<int16_t>(EffectType::Fire);
    s.state().bankA.curEff = 40;
    s.plugin().hostMessage(orva::kMessageBeat, 0);
    EXPECT_EQ(reached, "BAB");
}

TEST(PluginHost, BankTimersStopThenStepByType) {
    KavrelSession s;
    MatrixForm& f = s.form();
    int steps = 0, seconds = 0;
    ScriptedEffect& fire = installScripted(s.k().effects(), EffectType::Fire);
    fire.onStep = [&](BankContext& b) {
        ++steps;
        EXPECT_FALSE(b.stepTimer().Enabled());
        b.stepTimer().setEnabled(true);  // Fire runs on
    };
    fire.onSecondTick = [&](BankContext& b) {
        ++seconds;
        EXPECT_FALSE(b.secondTimer().Enabled());
    };
    s.state().bankB.eff[0].type = static_cast<int16_t>(EffectType::Fire);
    f.timerB1.setInterval(40);
    f.timerB1.setEnabled(true);
    f.timerB2.setInterval(40);
    f.timerB2.setEnabled(true);
    f.timerA1.setInterval(40);
    f.timerA1.setEnabled(true);  // bank A's Color entry has no step
    s.wait(200);
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(seconds, 1);
    EXPECT_FALSE(f.timerB2.Enabled());
    EXPECT_FALSE(f.timerA1.Enabled());
}

}  // namespace
}  // namespace kavrel::testing
