// The preview switch, the set-up dialog and both previews on the real host.
#include <gtest/gtest.h>

#include <string>

#include "core/color_mixer.h"
#include "platform/windows/direct_draw.h"
#include "platform/windows/window_style.h"
#include "preview/mx_dx_sim_conf.h"
#include "preview/mx_dx_sim_form.h"
#include "preview/vovev_form.h"
#include "tests/core/kavrel_session.h"

namespace kavrel::testing {
namespace {

namespace dd = platform::dd;

constexpr platform::Color kRed = platform::rgb(255, 0, 0);

struct PreviewSession : KavrelSession {
    Previews& previews() { return form().previews(); }
    MxDxSimConf& conf() { return previews().dxSimConf(); }
    dd::DisplaySystem& display() { return previews().display(); }
    // The crossfader to bank A (red) or bank B (blue); the output changes.
    void fader(int value) { ASSERT_TRUE(driver.set("MatrixForm.faderM", std::to_string(value))); }
    void tickPreview() { ASSERT_TRUE(driver.click("MatrixForm.vovev_active")); }
    void chooseDirectX() { ASSERT_TRUE(driver.click("MxDxSimConf.DDMode(1)")); }
    void start() { ASSERT_TRUE(driver.click("MxDxSimConf.Command1")); }
    // The colour the plain preview shows for a light.
    platform::Color plainLight(int x, int y) {
        const SharedState& st = state();
        return previews().vovevForm().surface().at(x * st.simCellWidth + st.simOffsetX,
                                                   y * st.simCellHeight + st.simOffsetY);
    }
};

TEST(PreviewSetUpTest, TickingThePreviewShowsAFreshDialogCentredOverTheMainWindow) {
    PreviewSession s;
    s.tickPreview();
    MxDxSimConf& conf = s.conf();
    EXPECT_TRUE(conf.Visible());
    EXPECT_EQ(conf.Caption(), "VoVevConf");
    EXPECT_FLOAT_EQ(conf.Left() + conf.Width() / 2, s.form().Left() + s.form().Width() / 2);
    EXPECT_TRUE(conf.DDMode[0].Value());
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &conf.Combo1, &conf.Combo2, &conf.full, &conf.rand, &conf.frColor})
        EXPECT_FALSE(c->Enabled()) << c->name();
    EXPECT_EQ(conf.Combo1.ListCount(), 1);
    EXPECT_EQ(conf.Combo2.Text(), "800x600x32") << "the last of two equal entries";
    EXPECT_EQ(conf.Combo2.ListIndex(), 4);
    EXPECT_FALSE(s.state().simActive);
    EXPECT_FALSE(s.form().updateVoVevTimer.Enabled()) << "ticking starts nothing";
}

TEST(PreviewSetUpTest, DirectXEnablesFrameAndFullScreenAndFullScreenEnablesTheLists) {
    PreviewSession s;
    s.tickPreview();
    MxDxSimConf& conf = s.conf();
    s.chooseDirectX();
    EXPECT_EQ(s.state().simMode, 1);
    EXPECT_TRUE(conf.rand.Enabled());
    EXPECT_TRUE(conf.frColor.Enabled());
    EXPECT_TRUE(conf.full.Enabled());
    EXPECT_FALSE(conf.Combo1.Enabled());
    EXPECT_FALSE(conf.Combo2.Enabled());
    ASSERT_TRUE(s.driver.click("MxDxSimConf.full"));
    EXPECT_TRUE(conf.Combo1.Enabled());
    EXPECT_TRUE(conf.Combo2.Enabled());
    EXPECT_TRUE(s.state().simFullView);
    ASSERT_TRUE(s.driver.click("MxDxSimConf.rand"));
    EXPECT_TRUE(s.state().simShowFrame);
    ASSERT_TRUE(s.driver.click("MxDxSimConf.DDMode(0)"));
    EXPECT_EQ(s.state().simMode, 0);
    EXPECT_FALSE(conf.full.Enabled());
    EXPECT_FALSE(conf.Combo1.Enabled());
}

TEST(PreviewSetUpTest, ResolutionListKeepsDeepWideModesAndPrefersEightHundredBySixHundred) {
    PreviewSession s;
    s.display().adapters = {
        dd::AdapterSpec{
            "One", "{one}", "d1", {{640, 480, 8}, {640, 480, 16}, {320, 240, 32}, {800, 600, 32}}},
        dd::AdapterSpec{"Two", "{two}", "d2", {{1024, 768, 16}, {1280, 1024, 32}, {320, 200, 16}}},
    };
    s.tickPreview();
    MxDxSimConf& conf = s.conf();
    ASSERT_EQ(conf.Combo1.ListCount(), 2);
    ASSERT_EQ(conf.Combo2.ListCount(), 2);
    EXPECT_EQ(conf.Combo2.List(0), "640x480x16");
    EXPECT_EQ(conf.Combo2.List(1), "800x600x32");
    EXPECT_EQ(conf.Combo2.ListIndex(), 1);
    EXPECT_EQ(conf.modeNumbers(), (std::vector<int32_t>{2, 4}));

    s.chooseDirectX();
    ASSERT_TRUE(s.driver.click("MxDxSimConf.full"));
    ASSERT_TRUE(s.driver.set("MxDxSimConf.Combo1", "Two"));
    ASSERT_EQ(conf.Combo2.ListCount(), 2);
    EXPECT_EQ(conf.Combo2.List(0), "1024x768x16");
    EXPECT_EQ(conf.Combo2.ListIndex(), 0) << "no 800x600x32: the first";
}

TEST(PreviewSetUpTest, FrameColourComesFromTheMixerAndCancelKeepsIt) {
    PreviewSession s;
    s.tickPreview();
    s.chooseDirectX();
    platform::Desktop& desktop = s.plugin().desktop();
    desktop.queueAction([&] {
        s.driver.set("MxColorMixer.Sred", "10");
        s.driver.click("MxColorMixer.Bcancel");
    });
    ASSERT_TRUE(s.driver.click("MxDxSimConf.frColor"));
    EXPECT_EQ(s.conf().frColor.BackColor(), 0u);
    desktop.queueAction([&] {
        s.driver.set("MxColorMixer.Sgreen", "200");
        s.driver.click("MxColorMixer.BOK");
    });
    ASSERT_TRUE(s.driver.click("MxDxSimConf.frColor"));
    EXPECT_EQ(s.conf().frColor.BackColor(), platform::rgb(0, 200, 0));
    EXPECT_EQ(s.state().simFrameColor, 0u) << "taken only at Start";
}

TEST(PlainPreviewSessionTest, StartShowsTheGridAndEachTickRepaintsChangedLights) {
    PreviewSession s;
    s.tickPreview();
    s.start();
    VoVevForm& f = s.previews().vovevForm();
    EXPECT_TRUE(f.Visible());
    EXPECT_FALSE(s.conf().Visible());
    EXPECT_TRUE(s.state().simActive);
    EXPECT_TRUE(s.form().updateVoVevTimer.Enabled());
    EXPECT_EQ(s.plainLight(3, 3), s.state().frameM.rgb(3, 3));
    EXPECT_GT(s.state().simCellWidth, 2);
    // The gap between boxes is black.
    const SharedState& st = s.state();
    EXPECT_EQ(f.surface().at(st.simOffsetX + st.simCellWidth - 1, st.simOffsetY), 0u);

    s.fader(-100);
    s.wait(40);
    EXPECT_EQ(s.plainLight(0, 0), kRed);
    EXPECT_EQ(s.plainLight(11, 11), kRed);
    EXPECT_EQ(s.state().dxSimDrawn, s.state().frameM);
    EXPECT_FALSE(s.state().dirtySim);
}

TEST(PlainPreviewSessionTest, EscReturnsToTheDialogAndStartRedrawsWithTheCurrentGeometry) {
    PreviewSession s;
    s.tickPreview();
    s.start();
    ASSERT_TRUE(s.driver.key("VoVevForm", 27));
    EXPECT_FALSE(s.previews().vovevForm().Visible());
    EXPECT_TRUE(s.conf().Visible());
    EXPECT_EQ(s.form().vovev_active.Value(), 1);
    EXPECT_FALSE(s.state().simActive);
    EXPECT_TRUE(s.form().updateVoVevTimer.Enabled()) << "the feed goes on into the hidden window";

    // While hidden the window is resized; the next Start draws every light anew.
    VoVevForm& f = s.previews().vovevForm();
    f.setWidth(f.Width() + 300);
    s.previews().vovevForm().surface().fill(platform::rgb(1, 1, 1));
    s.start();
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(s.plainLight(5, 5), s.state().frameM.rgb(5, 5));
    EXPECT_EQ(f.surface().at(0, 0), 0u);
}

TEST(PlainPreviewSessionTest, SpaceTogglesACaptionlessMaximisedViewAndBack) {
    PreviewSession s;
    s.tickPreview();
    s.start();
    VoVevForm& f = s.previews().vovevForm();
    ASSERT_TRUE(s.driver.key("VoVevForm", 32));
    EXPECT_TRUE(s.state().simFullView);
    EXPECT_EQ(f.WindowState(), 2);
    EXPECT_EQ(platform::GetWindowLongA(&f, platform::GWL_STYLE) &
                  static_cast<int32_t>(platform::WS_CAPTION),
              0);
    EXPECT_EQ(s.state().simCellWidth, (platform::Window::kScreenWidth - 10) / 12);
    EXPECT_EQ(s.plainLight(11, 11), s.state().frameM.rgb(11, 11));

    ASSERT_TRUE(s.driver.key("VoVevForm", 32));
    EXPECT_FALSE(s.state().simFullView);
    EXPECT_EQ(f.WindowState(), 0);
    EXPECT_NE(f.Style() & platform::WS_CAPTION, 0u);
    EXPECT_TRUE(f.ToggleCaption(true)) << "a style that reads back as written";
}

TEST(PlainPreviewSessionTest, RedrawRestartsExactlyTheEffectTimersThatRan) {
    PreviewSession s;
    s.tickPreview();
    s.start();
    MatrixForm& m = s.form();
    m.timerA1.setEnabled(true);
    m.timerA2.setEnabled(false);
    m.timerB1.setEnabled(false);
    m.timerB2.setEnabled(true);
    s.previews().vovevForm().Form_Resize();
    EXPECT_TRUE(m.timerA1.Enabled());
    EXPECT_FALSE(m.timerA2.Enabled());
    EXPECT_FALSE(m.timerB1.Enabled());
    EXPECT_TRUE(m.timerB2.Enabled());
}

TEST(PlainPreviewSessionTest, UntickingEndsThePreviewAndTheTimerUnlessTheNetworkNeedsIt) {
    PreviewSession s;
    s.tickPreview();
    s.start();
    s.tickPreview();  // off
    EXPECT_FALSE(s.previews().vovevForm().Visible());
    EXPECT_FALSE(s.state().simActive);
    EXPECT_FALSE(s.form().updateVoVevTimer.Enabled());

    ASSERT_TRUE(s.driver.click("MatrixForm.extmxsim_active"));
    s.tickPreview();
    s.start();
    s.tickPreview();
    EXPECT_TRUE(s.form().updateVoVevTimer.Enabled()) << "the network link still streams";
    EXPECT_FALSE(s.previews().vovevForm().Visible());
}

TEST(PlainPreviewSessionTest, CancelStopsEverythingAndUnticksThePreview) {
    PreviewSession s;
    s.tickPreview();
    s.start();
    ASSERT_TRUE(s.driver.key("VoVevForm", 27));
    ASSERT_TRUE(s.driver.key("MxDxSimConf", 27));  // Esc is the cancel button
    EXPECT_EQ(s.form().vovev_active.Value(), 0);
    EXPECT_FALSE(s.conf().Visible());
    EXPECT_FALSE(s.form().updateVoVevTimer.Enabled());
    EXPECT_FALSE(s.state().dirtySim);
}

TEST(SurfacePreviewSessionTest, WindowedStartPresentsEveryChangeAndEscReleases) {
    PreviewSession s;
    s.tickPreview();
    s.chooseDirectX();
    s.start();
    ASSERT_TRUE(s.state().directDrawReady);
    MxDxSimForm* w = s.previews().peekDxSimForm();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Visible());
    EXPECT_FALSE(s.display().modeChanged());
    const size_t first = s.display().presents().size();
    EXPECT_GE(first, 1u);

    s.fader(-100);
    s.wait(40);
    EXPECT_GT(s.display().presents().size(), first);
    // The blit lands on the window: its middle shows a red light.
    const platform::Surface& shown = w->surface();
    EXPECT_EQ(shown.at(shown.width() / 2, shown.height() / 2), kRed);

    const size_t before = s.display().presents().size();
    ASSERT_TRUE(s.driver.key("MxDxSimForm", 'F'));
    EXPECT_EQ(s.display().presents().size(), before) << "upper-case F does nothing";
    ASSERT_TRUE(s.driver.key("MxDxSimForm", 'f'));
    EXPECT_TRUE(s.state().simShowFrame);
    EXPECT_EQ(s.conf().rand.Value(), 1);
    EXPECT_EQ(s.display().presents().size(), before + 1);

    ASSERT_TRUE(s.driver.key("MxDxSimForm", 27));
    EXPECT_FALSE(s.state().directDrawReady);
    EXPECT_EQ(s.display().liveObjects(), 0);
    EXPECT_EQ(s.previews().peekDxSimForm(), nullptr) << "the window is unloaded";
    EXPECT_TRUE(s.conf().Visible());
    EXPECT_EQ(s.form().vovev_active.Value(), 1);
}

TEST(SurfacePreviewSessionTest, FullScreenTakesTheDialogsBoxNotThePlainViewMode) {
    PreviewSession s;
    s.tickPreview();
    s.start();
    ASSERT_TRUE(s.driver.key("VoVevForm", 32));  // simFullView set by the plain window
    ASSERT_TRUE(s.driver.key("VoVevForm", 27));
    s.chooseDirectX();
    s.start();
    EXPECT_TRUE(s.state().directDrawReady);
    EXPECT_EQ(s.display().exclusiveWindow(), nullptr) << "FullScreen Mode is unticked";
    EXPECT_FALSE(s.display().modeChanged());
    ASSERT_TRUE(s.driver.key("MxDxSimForm", 27));

    ASSERT_TRUE(s.driver.click("MxDxSimConf.full"));  // ticks: full screen wanted
    s.start();
    ASSERT_TRUE(s.state().directDrawReady);
    EXPECT_NE(s.display().exclusiveWindow(), nullptr);
    EXPECT_EQ(s.display().currentMode().width, 800);
    EXPECT_TRUE(s.display().presents().back().flip);

    // Cancel from the dialog restores the display and unticks the preview.
    s.conf().Show();
    ASSERT_TRUE(s.driver.click("MxDxSimConf.Command2"));
    EXPECT_FALSE(s.display().modeChanged());
    EXPECT_EQ(s.display().exclusiveWindow(), nullptr);
    EXPECT_EQ(s.form().vovev_active.Value(), 0);
    EXPECT_EQ(s.display().liveObjects(), 0);
}

TEST(SurfacePreviewSessionTest, FullScreenWithoutAModeIsRefusedWindowedGoesOn) {
    PreviewSession s;
    s.display().adapters = {dd::AdapterSpec{"Old", "{old}", "d", {{640, 480, 8}}}};
    s.tickPreview();
    s.chooseDirectX();
    ASSERT_TRUE(s.driver.click("MxDxSimConf.full"));
    s.start();
    EXPECT_TRUE(s.conf().Visible()) << "refused quietly: the dialog stays";
    EXPECT_FALSE(s.state().simActive);
    EXPECT_FALSE(s.state().directDrawReady);
    EXPECT_TRUE(s.messages().empty());

    ASSERT_TRUE(s.driver.click("MxDxSimConf.full"));
    s.start();
    EXPECT_TRUE(s.state().directDrawReady) << "windowed takes its size from the window";
    EXPECT_TRUE(s.state().simActive);
}

TEST(SurfacePreviewSessionTest, DrawingErrorShowsOneBoxAfterReleasing) {
    PreviewSession s;
    s.tickPreview();
    s.chooseDirectX();
    s.start();
    ASSERT_TRUE(s.state().directDrawReady);
    s.display().failNext("BltColorFill", dd::DDERR_SURFACELOST);
    s.fader(-100);
    s.wait(100);
    ASSERT_EQ(s.messages().size(), 1u);
    EXPECT_EQ(s.messages()[0], "Fehler -2005532222: DDERR_SURFACELOST");
    EXPECT_FALSE(s.state().directDrawReady);
    EXPECT_EQ(s.display().liveObjects(), 0);
    EXPECT_EQ(s.previews().peekDxSimForm(), nullptr);
    // Unticking afterwards returns to off.
    s.tickPreview();
    EXPECT_FALSE(s.state().simActive);
}

TEST(SurfacePreviewSessionTest, SilentSetUpFailureLeavesNoWindowAndUntickingEndsIt) {
    PreviewSession s;
    s.tickPreview();
    s.chooseDirectX();
    s.display().failNext("SetCooperativeLevel", dd::DDERR_GENERIC);
    s.start();
    EXPECT_FALSE(s.state().directDrawReady);
    EXPECT_TRUE(s.state().simActive);
    EXPECT_FALSE(s.conf().Visible());
    EXPECT_EQ(s.previews().peekDxSimForm(), nullptr);
    EXPECT_TRUE(s.messages().empty());
    s.fader(-100);
    s.wait(40);
    EXPECT_TRUE(s.display().presents().empty());
    s.tickPreview();
    EXPECT_FALSE(s.state().simActive);
    EXPECT_FALSE(s.form().updateVoVevTimer.Enabled());
}

TEST(SurfacePreviewSessionTest, UntickingReleasesHeldObjectsEvenWithTheWindowHidden) {
    PreviewSession s;
    s.tickPreview();
    s.chooseDirectX();
    ASSERT_TRUE(s.driver.click("MxDxSimConf.full"));
    s.start();
    ASSERT_TRUE(s.display().modeChanged());
    s.previews().peekDxSimForm()->Hide();
    s.tickPreview();
    EXPECT_FALSE(s.display().modeChanged());
    EXPECT_EQ(s.display().liveObjects(), 0);
}

TEST(SurfacePreviewSessionTest, CloseallEndsThePreviewAndRestoresTheDisplay) {
    PreviewSession s;
    s.tickPreview();
    s.chooseDirectX();
    ASSERT_TRUE(s.driver.click("MxDxSimConf.full"));
    s.start();
    ASSERT_TRUE(s.driver.click("MatrixForm.Closeall"));
    EXPECT_FALSE(s.display().modeChanged());
    EXPECT_FALSE(s.form().updateVoVevTimer.Enabled());
    EXPECT_EQ(s.form().vovev_active.Value(), 0);
}

}  // namespace
}  // namespace kavrel::testing
