// The surface preview's display code on the display stand-in: adapters and
// modes, geometry, set-up windowed and full screen, drawing, presenting,
// fallbacks and every failure path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/shared_state.h"
#include "platform/windows/desktop.h"
#include "platform/windows/direct_draw.h"
#include "platform/windows/window.h"
#include "preview/dd_error_names.h"
#include "preview/direct_draw_code.h"

namespace kavrel {
namespace {

namespace dd = platform::dd;

struct Rig {
    platform::Desktop desktop;
    platform::Window window{desktop, "MxDxSimForm"};
    dd::DisplaySystem display;
    SharedState state;
    std::vector<int32_t> reported;
    // What the display looked like when each error was reported.
    std::vector<bool> readyWhenReported;
    std::vector<bool> modeChangedWhenReported;
    int unloads = 0;
    DirectDrawCode code{display, state,
                        [this](int32_t r) {
                            reported.push_back(r);
                            readyWhenReported.push_back(state.directDrawReady);
                            modeChangedWhenReported.push_back(display.modeChanged());
                        },
                        [this] { ++unloads; }};

    Rig(int cols = 12, int rows = 12) {
        state.sizeGrid(cols, rows);
        // A drawing area of 420 x 408 pixels inside the frame and caption.
        window.setWidth((420 + 8) * platform::kTwipsPerPixel);
        window.setHeight((408 + 30) * platform::kTwipsPerPixel);
    }
    void fillFrame(uint8_t r, uint8_t g, uint8_t b) {
        for (int x = 0; x < state.gridCols(); ++x)
            for (int y = 0; y < state.gridRows(); ++y) state.frameM.setRgb(x, y, r, g, b);
    }
    void startFull(DisplayMode mode) {
        code.startDirectDraw(window, mode, "", 2, true);
        lastMode = mode;
    }
    DisplayMode lastMode;
};

TEST(DirectDrawCodeTest, AdaptersListTheirModesAndOutOfRangeIndexesGiveEmptyRecords) {
    Rig rig;
    rig.display.adapters.push_back(
        dd::AdapterSpec{"Second", "{two}", "display2", {{1280, 1024, 32}, {320, 240, 32}}});
    EXPECT_EQ(rig.code.getAdapterCount(), 2);
    const int32_t before = rig.display.objectsCreated();
    for (int32_t index : {0, 3, -1}) {
        const AdapterInfo none = rig.code.openAdapter(index);
        EXPECT_TRUE(none.description.empty());
        EXPECT_EQ(none.modeCount, 0);
        EXPECT_TRUE(none.modes.empty());
    }
    EXPECT_EQ(rig.display.objectsCreated(), before) << "no object for an index out of range";

    const AdapterInfo second = rig.code.openAdapter(2);
    EXPECT_EQ(second.description, "Second");
    EXPECT_EQ(second.guid, "{two}");
    EXPECT_EQ(second.name, "display2");
    ASSERT_EQ(second.modeCount, 2);
    ASSERT_EQ(second.modes.size(), 3u);
    EXPECT_EQ(second.modes[1].width, 1280);
    EXPECT_EQ(second.modes[2].bitsPerPixel, 32);
    EXPECT_EQ(rig.display.liveObjects(), 0) << "the object is released again";
}

TEST(DirectDrawCodeTest, WindowedGeometryComesFromTheDrawingArea) {
    Rig rig(10, 12);
    DisplayMode mode{800, 600, 32};
    rig.code.startDirectDraw(rig.window, mode, "", 2, false);
    EXPECT_TRUE(rig.state.directDrawReady);
    EXPECT_EQ(rig.state.simCellWidth, 40);
    EXPECT_EQ(rig.state.simCellHeight, 30);
    EXPECT_EQ(rig.state.simOffsetX, 0);
    EXPECT_EQ(rig.state.simOffsetY, 0);
    EXPECT_EQ(mode.width, 400);
    EXPECT_EQ(mode.height, 360);
    EXPECT_FALSE(rig.display.modeChanged()) << "windowed never changes the display mode";
    EXPECT_EQ(rig.display.exclusiveWindow(), nullptr);
    ASSERT_EQ(rig.display.presents().size(), 1u) << "the first frame is drawn at start";
    const dd::PresentRecord& p = rig.display.presents().back();
    EXPECT_FALSE(p.flip);
    EXPECT_EQ(p.source.Right, 400);
    EXPECT_EQ(p.source.Bottom, 360);
    // The outer rectangle less 38 at the top and 5 on the other sides.
    EXPECT_EQ(p.dest.Right - p.dest.Left, 428 - 10);
    EXPECT_EQ(p.dest.Bottom - p.dest.Top, 438 - 43);
}

TEST(DirectDrawCodeTest, FullScreenFlipsBoxesWithoutGapsAndKeepsTheFillBeyondTheGrid) {
    Rig rig;
    rig.fillFrame(0, 0, 255);
    rig.state.frameM.setRgb(1, 0, 0, 255, 0);
    rig.state.simFrameColor = platform::rgb(255, 0, 0);
    rig.startFull({800, 600, 32});
    ASSERT_TRUE(rig.state.directDrawReady);
    EXPECT_EQ(rig.display.exclusiveWindow(), &rig.window);
    EXPECT_EQ(rig.display.currentMode().width, 800);
    EXPECT_EQ(rig.state.simCellWidth, 66);
    EXPECT_EQ(rig.state.simCellHeight, 50);
    EXPECT_EQ(rig.state.simOffsetX, 0);
    ASSERT_EQ(rig.display.presents().size(), 1u);
    EXPECT_TRUE(rig.display.presents()[0].flip);
    EXPECT_EQ(rig.display.presents()[0].flags, dd::DDFLIP_NOVSYNC);

    const platform::Surface& shown = rig.display.presented();
    const platform::Color blue = platform::rgb(0, 0, 255), green = platform::rgb(0, 255, 0);
    EXPECT_EQ(shown.at(0, 0), blue) << "frame hidden: outlined in its own colour";
    EXPECT_EQ(shown.at(65, 49), blue);
    EXPECT_EQ(shown.at(66, 0), green) << "the next box starts where this one ends";
    EXPECT_EQ(shown.at(131, 49), green);
    EXPECT_EQ(shown.at(792, 10), platform::rgb(255, 0, 0)) << "the fill, in the frame colour";
    EXPECT_EQ(shown.at(799, 599), platform::rgb(255, 0, 0));

    rig.state.simShowFrame = true;
    rig.code.renderFrameDX();
    EXPECT_EQ(rig.display.presents().size(), 2u);
    const platform::Surface& framed = rig.display.presented();
    EXPECT_EQ(framed.at(0, 10), platform::rgb(255, 0, 0)) << "one-pixel outline";
    EXPECT_EQ(framed.at(1, 10), blue);
    EXPECT_EQ(framed.at(65, 10), platform::rgb(255, 0, 0));
    EXPECT_EQ(framed.at(66, 10), platform::rgb(255, 0, 0));
    EXPECT_EQ(framed.at(67, 10), green);
}

TEST(DirectDrawCodeTest, FillColourIsConvertedToTheSurfaceFormat) {
    Rig rig;
    rig.state.simFrameColor = platform::rgb(255, 0, 0);
    rig.startFull({800, 600, 16});
    ASSERT_TRUE(rig.state.directDrawReady);
    EXPECT_EQ(rig.display.presented().at(799, 0), platform::rgb(255, 0, 0));
}

TEST(DirectDrawCodeTest, InvalidModeFallsBackToVgaAndTheCellsFollowTheModeSet) {
    Rig rig;
    rig.display.rejectedModes.push_back({800, 600, 32});
    rig.startFull({800, 600, 32});
    ASSERT_TRUE(rig.state.directDrawReady);
    EXPECT_EQ(rig.lastMode.width, 640);
    EXPECT_EQ(rig.lastMode.bitsPerPixel, 8);
    EXPECT_EQ(rig.display.currentMode().height, 480);
    EXPECT_EQ(rig.state.simCellWidth, 53);
    EXPECT_EQ(rig.state.simCellHeight, 40);
    EXPECT_TRUE(rig.reported.empty()) << "set-up problems show no message";

    Rig both;
    both.display.rejectedModes = {{800, 600, 32}, {640, 480, 8}};
    both.startFull({800, 600, 32});
    EXPECT_FALSE(both.state.directDrawReady);
    EXPECT_FALSE(both.display.modeChanged());
    EXPECT_EQ(both.display.liveObjects(), 0);
    EXPECT_TRUE(both.reported.empty());
    EXPECT_EQ(both.unloads, 1);
}

TEST(DirectDrawCodeTest, GenericCreateFailureRetriesOnThePrimaryDriver) {
    Rig rig;
    rig.display.failNext("DirectDrawCreate", dd::DDERR_GENERIC);
    DisplayMode mode;
    rig.code.startDirectDraw(rig.window, mode, "{not-there}", 2, false);
    EXPECT_TRUE(rig.state.directDrawReady);
    EXPECT_EQ(rig.display.liveObjects(), 1);
}

TEST(DirectDrawCodeTest, EverySetUpFailureReleasesQuietly) {
    for (const char* call :
         {"DirectDrawCreate", "SetCooperativeLevel", "SetDisplayMode", "CreateSurface",
          "GetAttachedSurface", "GetSurfaceDesc", "CreateClipper", "SetClipper"}) {
        for (bool full : {false, true}) {
            Rig rig;
            rig.display.failNext(call, dd::DDERR_UNSUPPORTED);
            DisplayMode mode{800, 600, 32};
            rig.code.startDirectDraw(rig.window, mode, "", 2, full);
            const bool callUsed =
                full ? std::string(call) != "CreateClipper" && std::string(call) != "SetClipper"
                     : std::string(call) != "SetDisplayMode" &&
                           std::string(call) != "GetAttachedSurface" &&
                           std::string(call) != "GetSurfaceDesc";
            if (!callUsed) continue;
            SCOPED_TRACE(std::string(call) + (full ? " full screen" : " windowed"));
            EXPECT_FALSE(rig.state.directDrawReady);
            EXPECT_FALSE(rig.display.modeChanged());
            EXPECT_EQ(rig.display.exclusiveWindow(), nullptr);
            EXPECT_EQ(rig.display.liveObjects(), 0);
            EXPECT_TRUE(rig.display.presents().empty());
            EXPECT_TRUE(rig.reported.empty());
        }
    }
}

TEST(DirectDrawCodeTest, ADrawingFailureReleasesFirstThenReportsOnce) {
    for (const char* call : {"BltColorFill", "SetDrawWidth", "SetFillColor", "DrawBox", "Flip"}) {
        SCOPED_TRACE(call);
        Rig rig;
        rig.startFull({800, 600, 32});
        ASSERT_TRUE(rig.state.directDrawReady);
        const size_t presents = rig.display.presents().size();
        rig.display.failNext(call, dd::DDERR_SURFACELOST);
        rig.code.renderFrameDX();
        ASSERT_EQ(rig.reported.size(), 1u);
        EXPECT_EQ(rig.reported[0], dd::DDERR_SURFACELOST);
        EXPECT_EQ(rig.code.ddLastResult, dd::DDERR_SURFACELOST);
        EXPECT_FALSE(rig.readyWhenReported[0]) << "released before the box";
        EXPECT_FALSE(rig.modeChangedWhenReported[0]) << "display mode restored before the box";
        EXPECT_EQ(rig.display.liveObjects(), 0);
        EXPECT_EQ(rig.display.presents().size(), presents);
        EXPECT_EQ(rig.unloads, 1);
        rig.code.renderFrameDX();
        EXPECT_EQ(rig.reported.size(), 1u) << "nothing more once released";
    }
}

TEST(DirectDrawCodeTest, WindowedBlitFailureIsReported) {
    Rig rig;
    DisplayMode mode;
    rig.code.startDirectDraw(rig.window, mode, "", 2, false);
    rig.display.failNext("Blt", dd::DDERR_GENERIC);
    rig.code.renderFrameDX();
    ASSERT_EQ(rig.reported.size(), 1u);
    EXPECT_EQ(rig.reported[0], dd::DDERR_GENERIC);
    EXPECT_FALSE(rig.state.directDrawReady);
}

TEST(DirectDrawCodeTest, ReleaseWithNothingHeldOnlyClearsTheFlagAndUnloads) {
    Rig rig;
    rig.state.directDrawReady = true;
    rig.code.releaseDirectDraw();
    EXPECT_FALSE(rig.state.directDrawReady);
    EXPECT_EQ(rig.unloads, 1);
    EXPECT_EQ(rig.display.objectsCreated(), 0);
}

TEST(DdErrorNameTest, NamesKnownCodesAndSpellsOthersInHex) {
    EXPECT_EQ(ddErrorName(0), "ALL_OK");
    EXPECT_EQ(ddErrorName(5), "DDERR_INVALIDPARAMS");
    EXPECT_EQ(ddErrorName(7), "DDERR_OUTOFMEMORY");
    EXPECT_EQ(ddErrorName(static_cast<int32_t>(0x88760078u)), "DDERR_INVALIDMODE");
    EXPECT_EQ(ddErrorName(static_cast<int32_t>(0x80004005u)), "DDERR_GENERIC");
    EXPECT_EQ(ddErrorName(static_cast<int32_t>(0x80004001u)), "DDERR_UNSUPPORTED");
    EXPECT_EQ(ddErrorName(static_cast<int32_t>(0x800401F0u)), "DDERR_NOTINITIALIZED");
    EXPECT_EQ(ddErrorName(static_cast<int32_t>(0x887602BBu)), "DDERR_DEVICEDOESNTOWNSURFACE");
    EXPECT_EQ(ddErrorName(1), "Unknown 1");
    EXPECT_EQ(ddErrorName(255), "Unknown FF");
    EXPECT_EQ(ddErrorName(-1), "Unknown FFFFFFFF");
    EXPECT_EQ(ddErrorName(static_cast<int32_t>(0x88760001u)), "Unknown 88760001");
}

}  // namespace
}  // namespace kavrel
