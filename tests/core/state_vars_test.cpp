#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "core/state_vars.h"

namespace kavrel {
namespace {

class CoreStateVars : public ::testing::Test {
  protected:
    void SetUp() override {
        state.bankA.eff.resize(1);
        state.bankA.effOk = {true};
        state.bankA.eff[0].speed = 75;
        state.bankA.eff[0].colors = {platform::rgb(255, 0, 0), 0x8000000Fu, 0};
        state.bankB.eff.resize(3);
        state.bankB.eff[2].name = "Blue wash";
        state.bankB.curEff = 2;
        state.fadeList.push_back(FadeRecord{1, "fade", 0.1, 0});
        state.copyBuffer.name = "copied";
    }
    std::string read(std::string_view name) const {
        return readStateVar(state, name).value_or("?");
    }

    SharedState state;
};

TEST_F(CoreStateVars, ScalarsAndTheirFormats) {
    EXPECT_EQ(read("mixPos"), "0.5");
    EXPECT_EQ(read("fadeTime"), "3");
    EXPECT_EQ(read("matrixCols"), "12");
    EXPECT_EQ(read("curEffB"), "2");
    EXPECT_EQ(read("colIdxA"), "-1");
    EXPECT_EQ(read("dirtyA"), "False");
    state.bankB.dirty = true;
    EXPECT_EQ(read("dirtyB"), "True");
    EXPECT_EQ(read("editBankB"), "0");  // shared, despite its B
    state.mixPos = 1.0 / 3.0;
    EXPECT_EQ(read("mixPos"), "0.333333333333333");
    state.mixPos = -0.0;
    EXPECT_EQ(read("mixPos"), "0");
    EXPECT_EQ(read("colorRed"), "255");
    state.mixerColor = 0x80000005u;
    EXPECT_EQ(read("mixerColor"), "-2147483643");
    state.bankA.fontName = "Arial";
    EXPECT_EQ(read("fontNameA"), "Arial");
}

TEST_F(CoreStateVars, RecordsArraysAndGrids) {
    EXPECT_EQ(read("effA(0).speed"), "75");
    EXPECT_EQ(read("effB(2).name"), "Blue wash");
    EXPECT_EQ(read("effA(0).colors(1)"), "-2147483633");
    EXPECT_EQ(read("effA(0).colors(0)"), "255");
    EXPECT_EQ(read("fadeList(0).time"), "0.1");
    EXPECT_EQ(read("fadeList(0).type"), "1");
    EXPECT_EQ(read("copyBuffer.name"), "copied");
    EXPECT_EQ(read("effOkA(0)"), "True");
    state.mixMap.at(3, 4) = 0.3f;
    EXPECT_EQ(read("mixMap(3,4)"), "0.3");
    EXPECT_EQ(read("mixMap( 3 , 4 )"), "0.3");
    state.frameM.at(1, 2, 2) = 77;
    EXPECT_EQ(read("frameM(1,2,2)"), "77");
    EXPECT_EQ(read("channelMap(1,0,2)"), "6");
    EXPECT_EQ(read("dmxSent(1024)"), "-1");
    EXPECT_EQ(read("laserPosB(4)"), "0");
}

// A painted picture covers the grid of lights in force: what it does not hold
// there is black; past the lights only what it holds (its spare cells) reads.
TEST_F(CoreStateVars, PaintedLightsReadBlackWhereThePictureHoldsNothing) {
    state.matrixCols = 4;
    state.matrixRows = 3;
    state.copyBuffer.pixels.assign(1, 1, 0u);
    state.copyBuffer.pixels.at(1, 0) = 255;
    EXPECT_EQ(read("copyBuffer.pixels(1,0)"), "255");
    EXPECT_EQ(read("copyBuffer.pixels(3,2)"), "0");
    EXPECT_EQ(read("effB(0).pixels(3,2)"), "0");  // holds nothing at all
    for (const char* outside :
         {"copyBuffer.pixels(4,0)", "copyBuffer.pixels(0,3)", "copyBuffer.pixels(-1,0)",
          "copyBuffer.pixels(1)", "effB(0).pixels(4,2)"})
        EXPECT_EQ(read(outside), "?") << outside;
    state.bankA.eff[0].pixels.assign(5, 5, 7u);  // saved on a larger grid, kept
    EXPECT_EQ(read("effA(0).pixels(5,5)"), "7");
}

TEST_F(CoreStateVars, UnknownNamesAndBadIndexesGiveNothing) {
    for (const char* name : {"",
                             "nope",
                             "curEffC",
                             "A",
                             "mixPos(1)",
                             "mixPos.x",
                             "effA",
                             "effA(1).speed",
                             "effA(-1).speed",
                             "effA(0).nope",
                             "effA(0).colors",
                             "effA(0).colors(3)",
                             "effA(0).speed(1)",
                             "effOkA(1)",
                             "fadeList(0)",
                             "fadeList(1).time",
                             "copyBuffer",
                             "copyBuffer(0).name",
                             "mixMap(13,0)",
                             "mixMap(3)",
                             "frameM(0,0,4)",
                             "channelMap(0,0,3)",
                             "dmxSent(1025)",
                             "laserPosA(5)",
                             "effA(0",
                             "effA(0)).speed",
                             "effA(0).speed junk",
                             "effA(99999999999999999999999).speed",
                             "effA(0)..speed",
                             "mixMap(1,-)",
                             "effA(",
                             "effA(99999999999)",
                             "effA(-1).name",
                             "mixMap(1)",
                             "frameM(0,0,0).name",
                             "effA(0)(1)"}) {
        EXPECT_FALSE(readStateVar(state, name).has_value()) << name;
    }
}

// Every shared variable the effects and previews read, per bank where it has
// a bank twin, and every record field.
TEST_F(CoreStateVars, EverySharedNameReads) {
    EffectRecord& rec = state.bankA.eff[0];
    rec.pixels.assign(12, 12, 0u);
    rec.imageNames = {"a"};
    rec.durations = {1.5};
    rec.imagePaths = {"p"};
    rec.colorValues = {4};
    const auto readsAll = [this](const std::string& names, const std::string& prefix,
                                 const char* bank) {
        std::istringstream words(names);
        for (std::string name; words >> name;) {
            // The bank letter ends the name, before any indexes.
            if (bank != nullptr) name.insert(std::min(name.find('('), name.size()), bank);
            EXPECT_TRUE(readStateVar(state, prefix + name).has_value()) << prefix + name;
        }
    };
    const std::string banked =
        "effCount delCount curEff frame(0,0,3) shadow(12,12,0) dirty beat imageIdx step "
        "stepMax colIdx pendingFade colorFadeRunning colorFadeRatio stripLen laserPos(0) "
        "laserDir(4) posX posY tickerWidth fontName fontSize fontItalic fontBold fontWeight "
        "fontStrike";
    readsAll(banked, "", "A");
    readsAll(banked, "", "B");
    readsAll(
        "fadeCount delCountX curFade editBankB matrixCols matrixRows frameM(12,12,3) "
        "dxSimDrawn(0,0,0) extSimSent(0,0,0) shadowM(0,0,0) dirtyDmx dirtySim dirtyM mixPos "
        "mixMap(12,12) fadeType fadeTime simMode simActive simFullView simShowFrame "
        "directDrawReady simFrameColor simCellWidth simCellHeight simOffsetX simOffsetY "
        "extSimConnected colorBlack colorWhite colorRed colorGreen activeButtonColor "
        "buttonColor mixerOldColor mixerColor channelMap(0,0,0) cellConfigured(0,0) "
        "effOkA(0) fadeList(0).type fadeList(0).name fadeList(0).time fadeList(0).color",
        "", nullptr);
    readsAll(
        "type name color1 color2 direction pixels(12,12) stretch tile speed imageCount "
        "imageNames(0) durations(0) imagePaths(0) level colorCount colors(2) fadeMode beat "
        "blend colorValues(0) text font backward mirror letterMode",
        "effA(0).", nullptr);
}

}  // namespace
}  // namespace kavrel
