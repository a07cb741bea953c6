// Image entries on a bank: drawing, tiling, stretching, scrolling and the
// picture list, through the bank lists and timers of the real main window.
#include <filesystem>

#include "effects/image/image_view.h"
#include "tests/effects/image/image_session.h"

namespace kavrel::testing {
namespace {

using ImagePlay = ImageSession;

TEST_F(ImagePlay, ScrollLeftWrapsThePicture) {
    EffectRecord& e = image({picture("wide.png", 20, 12)});
    e.direction = 3;
    e.speed = 100;
    select();
    EXPECT_EQ(light(0, 0), code(0, 0));
    EXPECT_EQ(light(11, 11), code(11, 11));
    EXPECT_TRUE(s.form().timerA1.Enabled());
    EXPECT_EQ(s.form().timerA1.Interval(), 10);
    for (int i = 0; i < 10; ++i) s.form().timerA1_Timer();
    EXPECT_EQ(bank().posX, 10);
    for (int y : {0, 7, 11}) {
        for (int x = 0; x < 10; ++x) EXPECT_EQ(light(x, y), code(x + 10, y)) << x;
        EXPECT_EQ(light(10, y), code(0, y));
        EXPECT_EQ(light(11, y), code(1, y));
    }
    EXPECT_TRUE(s.form().timerA1.Enabled());  // the step runs on
    // The mix shows bank A at the left end of the crossfader.
    s.state().mixPos = 0;
    s.form().timerA1_Timer();
    EXPECT_EQ(s.state().frameM.rgb(0, 0), code(11, 0));
}

TEST_F(ImagePlay, SmallPictureIsClippedWithBlackAround) {
    image({picture("small.png", 5, 4)});
    select();
    EXPECT_EQ(light(4, 3), code(4, 3));
    EXPECT_EQ(light(5, 0), 0u);
    EXPECT_EQ(light(0, 4), 0u);
    bank().posX = -4;
    drawImage(ctx());
    for (int x = 0; x < 4; ++x) EXPECT_EQ(light(x, 0), 0u) << x;
    EXPECT_EQ(light(4, 0), code(0, 0));
    EXPECT_FALSE(s.form().timerA1.Enabled());  // direction 0 does not scroll
}

TEST_F(ImagePlay, TilingRepeatsOnlyWhereThePictureIsSmaller) {
    EffectRecord& e = image({picture("tile.png", 5, 5)});
    e.tile = 1;
    e.direction = 3;
    bank().posX = 3, bank().posY = 2;
    select();
    for (int x : {0, 4, 5, 9, 10, 11})
        for (int y : {0, 6, 11}) EXPECT_EQ(light(x, y), code(x % 5, y % 5)) << x << "," << y;
    EXPECT_EQ(bank().posX, 0);
    EXPECT_EQ(bank().posY, 0);
    EXPECT_TRUE(s.form().timerA1.Enabled());
    EXPECT_EQ(s.form().timerA1.Interval(), 2010);

    // 20 x 5 repeats down only, seen from column posX.
    image({picture("band.png", 20, 5)}).tile = 1;
    s.form().timerA1.setEnabled(false);
    bank().posX = 6;
    s.form().imageA.loadPicture(dir + "/band.png");
    drawImage(ctx());
    EXPECT_EQ(bank().posX, 6);
    EXPECT_EQ(light(0, 7), code(6, 2));
    EXPECT_EQ(light(11, 11), code(17, 1));
}

TEST_F(ImagePlay, StretchWinsOverTileAndStopsTheStepTimer) {
    EffectRecord& e = image({solid("one.png", platform::rgb(200, 10, 30))});
    e.stretch = 1;
    e.tile = 1;
    e.direction = 3;
    s.form().timerA1.setInterval(777);
    s.form().timerA1.setEnabled(true);
    drawImage(ctx());  // nothing loaded yet: black, timer stopped
    EXPECT_EQ(light(3, 3), 0u);
    EXPECT_FALSE(s.form().timerA1.Enabled());
    EXPECT_EQ(s.form().timerA1.Interval(), 777);  // stopped, interval kept
    select();
    for (int x : {0, 11})
        for (int y : {0, 5, 11}) EXPECT_EQ(light(x, y), platform::rgb(200, 10, 30));
    EXPECT_FALSE(s.form().timerA1.Enabled());
    // A step of a stretched entry redraws it stretched, without moving.
    bank().posX = 5;
    s.form().timerA1_Timer();
    EXPECT_EQ(light(0, 0), platform::rgb(200, 10, 30));
    EXPECT_EQ(bank().posX, 5);
}

TEST_F(ImagePlay, NoPicturesShowTheMessageAndBlackWithoutTouchingTheTimer) {
    EffectRecord& e = image({});
    e.stretch = 1;
    s.form().timerA1.setEnabled(true);
    const size_t before = s.messages().size();
    drawImage(ctx());
    ASSERT_EQ(s.messages().size(), before + 1);
    EXPECT_EQ(s.messages().back(), "No Pictures in List. Please edit preset");
    EXPECT_EQ(light(0, 0), 0u);
    EXPECT_TRUE(s.form().timerA1.Enabled());
    // A step of an emptied entry stays black and says nothing.
    s.form().imageA.loadPicture(picture("old.png", 12, 12));
    s.form().timerA1_Timer();
    EXPECT_EQ(light(5, 5), 0u);
    EXPECT_EQ(s.messages().size(), before + 1);
}

TEST_F(ImagePlay, DirectionsMoveTheViewAsDescribed) {
    // d = 2 at offset 0 first shows picture pixel (0, 0) in the bottom-right light.
    EffectRecord& e = image({picture("sq.png", 12, 12)});
    e.direction = 2;
    e.beat = 1;  // drawn without the step timer
    select();
    EXPECT_EQ(light(11, 11), code(0, 0));
    EXPECT_EQ(light(10, 11), 0u);
    EXPECT_FALSE(s.form().timerA1.Enabled());
    // d = 1 on a matrix-sized picture: the top rows continue below.
    e.direction = 1;
    startImageScroll(ctx());
    for (int i = 0; i < 3; ++i) scrollImage(ctx());
    EXPECT_EQ(bank().posY, 3);
    EXPECT_EQ(light(4, 0), code(4, 3));
    EXPECT_EQ(light(4, 8), code(4, 11));
    EXPECT_EQ(light(4, 9), code(4, 0));
    // A narrower picture scrolling up at offset 50 sits in the middle.
    image({picture("narrow.png", 5, 12)}).direction = 1;
    bank().eff[0].level = 50;
    select();
    for (int x : {0, 3, 9, 11}) EXPECT_EQ(light(x, 2), 0u) << x;
    EXPECT_EQ(light(4, 2), code(0, 2));
    EXPECT_EQ(light(8, 2), code(4, 2));
}

TEST_F(ImagePlay, ListPlaysEachPictureForItsTimeAndStopsAtAMissingFile) {
    const uint32_t red = platform::rgb(255, 0, 0), green = platform::rgb(0, 255, 0),
                   blue = platform::rgb(0, 0, 255);
    const std::string third = solid("c.png", blue);
    EffectRecord& e = image({solid("a.png", red), solid("b.png", green), third}, false, {1, 2, 3});
    e.stretch = 1;
    select();
    EXPECT_EQ(light(0, 0), red);
    EXPECT_TRUE(s.form().timerA2.Enabled());
    EXPECT_EQ(s.form().timerA2.Interval(), 1000);
    s.wait(1000);
    EXPECT_EQ(light(0, 0), green);
    EXPECT_EQ(bank().imageIdx, 1);
    EXPECT_EQ(s.form().timerA2.Interval(), 2000);
    s.wait(2000);
    EXPECT_EQ(light(0, 0), blue);
    s.wait(3000);
    EXPECT_EQ(light(0, 0), red);  // back to the first
    std::filesystem::remove(dir + "/b.png");
    s.wait(1000);
    EXPECT_EQ(s.messages().back(), "File not found: " + dir + "/b.png");
    EXPECT_EQ(light(0, 0), 0u);
    EXPECT_FALSE(s.form().timerA2.Enabled());
    EXPECT_EQ(bank().eff[0].imageCount, 3);  // the stored list stays
    EXPECT_EQ(bank().eff[0].imagePaths[2], third);
}

TEST_F(ImagePlay, BankBStartsEachNextPictureAtTheCorner) {
    EffectRecord& e = image({picture("p.png", 20, 20), picture("q.png", 20, 20)}, true);
    e.direction = 7;
    e.beat = 1;
    select(true);
    EXPECT_EQ(bank(true).posX, 7);  // W - w - 1
    s.form().timerB2_Timer();
    EXPECT_EQ(bank(true).posX, 0);
    EXPECT_EQ(bank(true).posY, 0);
    EXPECT_EQ(light(3, 4, true), code(3, 4));
}

TEST_F(ImagePlay, MissingFirstPictureDrawsBlackAndKeepsTheList) {
    image({dir + "/gone.png", solid("x.png", 255)});
    select();
    EXPECT_EQ(light(0, 0), 0u);
    EXPECT_EQ(bank().eff[0].imageCount, 2);
    EXPECT_FALSE(s.form().timerA1.Enabled());
    EXPECT_FALSE(s.form().timerA2.Enabled());
}

TEST_F(ImagePlay, BeatsScrollAndStartTheListOnlyWithTwoPictures) {
    EffectRecord& e = image({picture("w.png", 20, 12)});
    e.direction = 3;
    e.beat = 1;
    bank().beat = true;
    select();
    s.form().beatStepA();
    EXPECT_EQ(bank().posX, 1);
    EXPECT_FALSE(s.form().timerA2.Enabled());
    image({picture("w.png", 20, 12), picture("v.png", 20, 12)}).beat = 1;
    s.form().beatStepA();
    EXPECT_TRUE(s.form().timerA2.Enabled());
    // A list tick with fewer than two pictures only stops the timer.
    bank().eff[0].imageCount = 1;
    bank().imageIdx = 7;
    s.form().timerA2_Timer();
    EXPECT_FALSE(s.form().timerA2.Enabled());
    EXPECT_EQ(bank().imageIdx, 7);
}

TEST_F(ImagePlay, TickerSizedSamplingBoxIsPutBack) {
    image({picture("sq.png", 12, 12)});
    s.form().miniA.setWidth(40);
    s.form().miniA.setHeight(3);
    select();
    EXPECT_EQ(s.form().miniA.surface().width(), 12);
    EXPECT_EQ(s.form().miniA.surface().height(), 12);
    EXPECT_EQ(light(11, 11), code(11, 11));
}

}  // namespace
}  // namespace kavrel::testing
