#include "platform/controls/picture_box.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/windows/desktop.h"
#include "platform/pictures/picture_file.h"
#include "platform/windows/window.h"
#include "tests/support/temp_folder.h"

using namespace platform;

namespace {

constexpr Color kBack = rgb(20, 40, 60);
constexpr Color kRed = rgb(255, 0, 0);

class PictureBoxes : public ::testing::Test {
  protected:
    void SetUp() override { box.setBackColor(kBack); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    Desktop desktop;
    Window window{desktop, "Form"};  // twips: 15 units per pixel
    PictureBox& box = window.add<PictureBox>("pic");
    kavrel_test::TempFolder folder_{"kavrel-box"};
    std::filesystem::path dir_ = folder_.path();
};

}  // namespace

TEST_F(PictureBoxes, ResizingKeepsPixelsAndFillsNewAreaWithBackColor) {
    box.move(0, 0, 3 * 15, 2 * 15);
    ASSERT_EQ(box.surface().width(), 3);
    box.canvas().setScaleMode(ScaleMode::Pixels);
    box.canvas().PSet(2, 1, kRed);
    box.setWidth(5 * 15);
    box.setHeight(4 * 15);
    ASSERT_EQ(box.surface().width(), 5);
    ASSERT_EQ(box.surface().height(), 4);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 5; ++x)
            EXPECT_EQ(box.surface().at(x, y), x == 2 && y == 1 ? kRed : kBack) << x << "," << y;
    // Window units round to whole pixels, half to even; bad sizes are ignored.
    box.setWidth(37.5f);
    EXPECT_EQ(box.surface().width(), 2);
    EXPECT_FLOAT_EQ(box.Width(), 30);
    box.setWidth(-15);
    box.setHeight(1e12f);
    EXPECT_EQ(box.surface().width(), 2);
    EXPECT_EQ(box.surface().height(), 4);
    window.setScaleMode(ScaleMode::Pixels);
    box.setWidth(6);
    EXPECT_EQ(box.surface().width(), 6);
    EXPECT_EQ(box.property("ScaleWidth"), "6");
    EXPECT_EQ(box.property("ScaleMode"), "3");
}

TEST_F(PictureBoxes, BackColorClearsAndHdcDrawsIntoTheBox) {
    box.move(0, 0, 30, 30);
    SetPixel(box.hDC(), 1, 1, kRed);
    box.canvas().setScaleMode(ScaleMode::Pixels);
    EXPECT_EQ(box.canvas().Point(1, 1), static_cast<int32_t>(kRed));
    box.setBackColor(rgb(1, 1, 1));
    EXPECT_EQ(box.surface().pixels(), Surface(2, 2, rgb(1, 1, 1)).pixels());
}

TEST_F(PictureBoxes, LoadPictureSizesTheBoxAndShowsBackColorThroughIt) {
    box.move(0, 0, 4 * 15, 4 * 15);
    box.setAutoSize(true);
    Surface pic(3, 2, kRed);
    ASSERT_TRUE(writePng(pic, path("p.png")));
    ASSERT_TRUE(box.loadPicture(path("p.png")));
    EXPECT_TRUE(box.hasPicture());
    EXPECT_EQ(box.surface().pixels(), pic.pixels());
    EXPECT_EQ(box.surface().width(), 3);
    EXPECT_FLOAT_EQ(box.Width(), 45);
    EXPECT_FLOAT_EQ(box.Height(), 30);

    // A failed load leaves everything as it was.
    std::filesystem::create_directory(path("d"));
    for (const char* bad : {"missing.png", "d"}) EXPECT_FALSE(box.loadPicture(path(bad)));
    EXPECT_EQ(box.surface().pixels(), pic.pixels());

    // Without AutoSize the picture sits at the top left over BackColor.
    box.setAutoSize(false);
    box.setWidth(4 * 15);
    Surface one(1, 5, kRed);
    ASSERT_TRUE(writePng(one, path("one.png")));
    ASSERT_TRUE(box.loadPicture(path("one.png")));
    EXPECT_EQ(box.surface().width(), 4);
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(box.surface().at(x, 1), x == 0 ? kRed : kBack);

    box.clearPicture();
    EXPECT_FALSE(box.hasPicture());
    EXPECT_EQ(box.surface().pixels(), Surface(4, 2, kBack).pixels());
}

TEST_F(PictureBoxes, ClicksArriveWithBoxCoordinatesOnlyWhenReachable) {
    box.move(0, 0, 10 * 15, 4 * 15);
    box.canvas().setScaleMode(ScaleMode::Pixels);
    std::vector<std::string> log;
    const auto note = [&](const char* what) {
        return [&log, what](int, int, float x, float y) {
            log.push_back(std::string(what) + " " + std::to_string(static_cast<int>(x)) + "," +
                          std::to_string(static_cast<int>(y)));
        };
    };
    box.onMouseDown = note("down");
    box.onMouseUp = note("up");
    box.onClick = [&] { log.push_back("click"); };

    EXPECT_FALSE(box.userClick());  // the window is not shown
    window.Show();
    EXPECT_TRUE(box.userClick());
    EXPECT_EQ(log, (std::vector<std::string>{"down 5,2", "up 5,2", "click"}));

    log.clear();  // released outside the box: no click
    box.userMouse(MouseAction::Down, 1, 1, 1, 0);
    box.userMouse(MouseAction::Up, 10, 1, 1, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"down 1,1", "up 10,1"}));

    box.setVisible(false);
    EXPECT_FALSE(box.userClick());
}

TEST_F(PictureBoxes, SnapshotWritesTheBoxAsPng) {
    box.move(0, 0, 3 * 15, 3 * 15);
    SetPixel(box.hDC(), 0, 2, kRed);
    ASSERT_TRUE(box.snapshot(path("snap.png")));
    const auto back = loadPictureFile(path("snap.png"), 0);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixels(), box.surface().pixels());
}
