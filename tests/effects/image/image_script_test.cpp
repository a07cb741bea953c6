// Session scripts load picture files through the Images editor and its list,
// scroll them in every direction, play a list, and check the frames, through
// the real kavrel program; and the demo's picture section.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/pictures/picture_file.h"
#include "tests/cli/run_kavrel.h"
#include "tests/support/temp_folder.h"

namespace {

using Pixel = std::function<uint32_t(int, int)>;  // 0x00RRGGBB

class ImageScript : public ::testing::Test {
  protected:
    void SetUp() override { folder_.folder("demo-out"); }

    // Writes a picture in the format gdk-pixbuf saves under `type`.
    void picture(const std::string& name, const char* type, int w, int h, const Pixel& px) {
        GdkPixbuf* pb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, w, h);
        ASSERT_NE(pb, nullptr);
        const int stride = gdk_pixbuf_get_rowstride(pb);
        guchar* data = gdk_pixbuf_get_pixels(pb);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t c = px(x, y);
                guchar* p = data + y * stride + x * 4;
                p[0] = static_cast<guchar>(c >> 16);
                p[1] = static_cast<guchar>(c >> 8);
                p[2] = static_cast<guchar>(c);
                p[3] = 255;
            }
        GdkPixbuf* out = pb;
        if (std::string(type) == "jpeg" || std::string(type) == "bmp")
            out = gdk_pixbuf_add_alpha(pb, FALSE, 0, 0, 0);  // same pixels
        const std::string path = (dir_ / name).string();
        GError* err = nullptr;
        const bool ok =
            std::string(type) == "jpeg"
                ? gdk_pixbuf_save(out, path.c_str(), type, &err, "quality", "100", nullptr)
                : gdk_pixbuf_save(out, path.c_str(), type, &err, nullptr);
        EXPECT_TRUE(ok) << name << ": " << (err ? err->message : "");
        if (err) g_error_free(err);
        if (out != pb) g_object_unref(out);
        g_object_unref(pb);
    }
    hosttest::ProgramRun run(const std::string& script, const std::string& args = "") {
        std::ofstream(dir_ / "session.kav") << script;
        return hosttest::runKavrelIn(dir_, args + " session.kav");
    }

    const kavrel_test::TempFolder folder_{"kavrel-image-script"};
    const std::filesystem::path& dir_ = folder_.path();
};

// Picture pixel (x, y) of the scrolled picture: red 8x + 1, green 8y + 1, blue 99.
uint32_t code(int x, int y) {
    return static_cast<uint32_t>((x * 8 + 1) << 16 | (y * 8 + 1) << 8 | 99);
}
// The wide picture: red 2x + 1, green 8y + 1, blue 50.
uint32_t wide(int x, int y) {
    return static_cast<uint32_t>((x * 2 + 1) << 16 | (y * 8 + 1) << 8 | 50);
}
Pixel solid(uint32_t c) {
    return [c](int, int) { return c; };
}

// A 20 x 16 BMP through a 12 x 12 window at offset 50 (the window's start
// column 4, start row 2), a step every 10 ms: each direction's start, its
// run and its restart; then a 100 x 12 PNG whose diagonal run restarts at
// every step, and beats moving the window.
TEST_F(ImageScript, PicturesScrollInEveryDirection) {
    picture("pic.bmp", "bmp", 20, 16, code);
    picture("wide.png", "png", 100, 12, wide);
    const auto r = run(R"(open
set MatrixForm.typeA Image
click MatrixForm.editA
click MxImageForm.BImage
answer file pic.bmp
click MxImageList.addImage
expect MxImageList.myImageList.Count 1
expect var effA(0).imageCount 1
expect var effA(0).imageNames(0) pic.bmp
click MxImageList.OK
expect MxImageList.Visible False
expect frame A 0 0 1 1 99                   # still, offset 0: the top left
expect frame A 11 11 89 89 99
set MxImageForm.Slider1 100
expect MatrixForm.timerA1.Interval 10
set MxImageForm.slOffset 50
expect var stripLenA 16
expect frame A 0 0 33 1 99

# 1: the window moves down and the top rows come again below.
click MxImageForm.richtung(1)
expect MatrixForm.timerA1.Enabled True
expect var posYA 0
wait 140
expect var posYA 14
expect frame A 0 0 33 113 99
expect frame A 0 1 33 121 99
expect frame A 0 2 33 1 99
expect frame A 11 11 121 73 99
wait 20
expect var posYA 0
expect frame A 0 0 33 1 99

# 2: down and right from outside the picture's top left corner.
click MxImageForm.richtung(2)
expect var posXA -7
expect var posYA -11
expect frame A 11 11 33 1 99
expect frame A 10 11 25 1 99
expect frame A 11 10 0 0 0
wait 50
expect frame A 2 6 1 1 99
expect frame A 11 11 73 41 99
expect frame A 1 11 0 0 0
wait 170
expect var posXA 15
expect frame A 0 0 121 89 99
expect frame A 4 4 153 121 99
expect frame A 5 0 0 0 0                    # no wrapped copy on a diagonal
expect frame A 0 5 0 0 0
wait 10
expect var posXA -7
expect var posYA -11
expect frame A 11 11 33 1 99

# 3: right, wrapping the picture's first columns in after its last.
click MxImageForm.richtung(3)
expect var posXA 0
expect var posYA 2
wait 100
expect var posXA 10
expect frame A 9 0 153 17 99
expect frame A 10 0 1 17 99
expect frame A 11 11 9 105 99
wait 100
expect var posXA 0
expect frame A 11 0 89 17 99

# 4: up and right from below the picture.
click MxImageForm.richtung(4)
expect var posXA -7
expect var posYA 15
wait 70
expect var posXA 0
expect var posYA 8
expect frame A 0 0 1 65 99
expect frame A 11 7 89 121 99
expect frame A 0 8 0 0 0
wait 160
expect var posXA -7
expect var posYA 15

# 5: up, never standing at row 0.
click MxImageForm.richtung(5)
expect var posYA 3
wait 20
expect var posYA 1
wait 10
expect var posYA 15
expect frame A 0 0 33 121 99
expect frame A 0 1 33 1 99
expect frame A 11 11 121 81 99

# 6: up and left from the bottom right, through one all-black frame.
click MxImageForm.richtung(6)
expect var posXA 15
expect var posYA 15
wait 10
expect frame A 0 0 113 113 99
expect frame A 5 1 153 121 99
expect frame A 6 0 0 0 0
expect frame A 0 2 0 0 0
wait 250
expect var posXA -11
expect frame A 11 11 1 1 99
wait 10
expect var posXA -12
expect frame A 11 11 0 0 0
expect frame A 0 0 0 0 0
wait 10
expect var posXA 15
expect var posYA 15

# 7: left, wrapping the last columns in before the first.
click MxImageForm.richtung(7)
expect var posXA 7
expect var posYA 2
wait 70
expect var posXA 0
expect frame A 0 0 1 17 99
wait 10
expect var posXA 19
expect frame A 0 0 153 17 99
expect frame A 1 0 1 17 99
expect frame A 11 11 81 105 99
wait 70
expect var posXA 12
expect frame A 7 0 153 17 99
expect frame A 8 0 1 17 99

# 8: down and left from above the picture's right end.
click MxImageForm.richtung(8)
expect var posXA 15
expect var posYA -11
wait 110
expect frame A 0 0 33 1 99
expect frame A 11 11 121 89 99
wait 150
expect var posXA -11
expect var posYA 15
expect frame A 11 0 1 121 99
expect frame A 11 1 0 0 0
wait 10
expect var posXA 15
expect var posYA -11

# 0: still.
click MxImageForm.richtung(0)
expect MatrixForm.timerA1.Enabled False
expect var posXA 4
expect var posYA 0

# The wide picture replaces the first: down and right at offset 100 starts
# beyond the travel extent, so every step restarts where it stood.
click MxImageForm.BImage
expect MxImageList.myImageList.Count 1
answer file wide.png
click MxImageList.addImage
select MxImageList.myImageList 1
click MxImageList.removeImage
expect var effA(0).imagePaths(0) wide.png
click MxImageList.OK
set MxImageForm.slOffset 100
click MxImageForm.richtung(2)
expect var stripLenA 12
expect var posXA 77
wait 30
expect var posXA 77
expect var posYA -11
expect frame A 0 11 155 1 50
expect frame A 11 11 177 1 50
expect frame A 0 10 0 0 0

# Under beat control each beat moves the window one pixel.
click MxImageForm.richtung(3)
click MxImageForm.beatControl
expect MatrixForm.timerA1.Enabled False
expect var posXA 0
beat
beat
wait 100
expect var posXA 2
expect frame A 0 0 5 1 50
expect frame A 11 11 27 89 50
expect pixel MatrixForm.paneA 7 7 5 1 50
set MxImageForm.myName "wide picture"
click MxImageForm.OK
expect var effA(0).name "wide picture"
expect var effOkA(0) True
quit
)");
    EXPECT_EQ(r.status, 0) << r.output;
}

// Bank B plays a BMP, an ICO and a JPEG, stretched, each for its time, and
// stops at a file that is gone, keeping its list; a broken file previewed
// from the list shows the missing-file message.
TEST_F(ImageScript, AListPlaysEachPictureForItsTimeAndStopsAtAMissingOne) {
    picture("red.bmp", "bmp", 3, 3, solid(0xFF0000));
    picture("green.ico", "ico", 16, 16, solid(0x00FF00));
    picture("blue.jpg", "jpeg", 8, 8, solid(0x0000FF));
    std::ofstream(dir_ / "broken.bmp") << "BM\x36\x03";
    const auto r = run(R"(open
set MatrixForm.typeB Image
click MatrixForm.editB
expect var editBankB 1
click MxImageForm.PStretch
expect message "No Pictures in List. Please edit preset"
expect frame B 0 0 0 0 0
click MxImageForm.BImage
answer file red.bmp
click MxImageList.addImage
answer file green.ico
click MxImageList.addImage
answer file blue.jpg
click MxImageList.addImage
answer file gone.png
click MxImageList.addImage
answer file broken.bmp
click MxImageList.addImage
expect var effB(0).durations(0) 30
edit MxImageList.myImageList 1 1 1
edit MxImageList.myImageList 2 1 2
edit MxImageList.myImageList 3 1 1
edit MxImageList.myImageList 4 1 1
expect var effB(0).imageCount 5
expect var effB(0).durations(1) 2
select MxImageList.myImageList 2            # shows that picture now
expect frame B 5 5 0 255 0
select MxImageList.myImageList 5
expect message "File not found: broken.bmp"
expect frame B 5 5 0 255 0
click MxImageList.OK
expect frame B 0 0 255 0 0                  # the first, stretched
expect frame B 11 11 255 0 0
expect MatrixForm.timerB2.Interval 1000
expect MatrixForm.timerB2.Enabled True
set MxImageForm.myName "three pictures"
click MxImageForm.OK
expect var imageIdxB 0
expect MatrixForm.timerB2.Enabled True
wait 1000
expect var imageIdxB 1
expect frame B 0 0 0 255 0
expect frame B 11 11 0 255 0
expect MatrixForm.timerB2.Interval 2000
wait 1990
expect frame B 6 6 0 255 0
wait 10
expect var imageIdxB 2
expect var frameB(0,0,0) 0 ~4
expect var frameB(0,0,1) 0 ~4
expect var frameB(11,11,2) 255 ~4
wait 1000
expect var imageIdxB 3
expect message "File not found: gone.png"
expect frame B 0 0 0 0 0
expect frame B 11 11 0 0 0
expect MatrixForm.timerB2.Enabled False
wait 3000
expect var imageIdxB 3
expect var effB(0).imageCount 5
expect var effB(0).imagePaths(3) gone.png
expect var effB(0).name "three pictures"
quit
)");
    EXPECT_EQ(r.status, 0) << r.output;
}

// Durations with fractions come only from project files; the list plays them
// to the millisecond, after the load and at every tick.
TEST_F(ImageScript, ALoadedListKeepsTheFractionsOfItsDurations) {
    picture("a.png", "png", 3, 3, solid(0xFF0000));
    picture("b.png", "png", 3, 3, solid(0x00FF00));
    std::ofstream(dir_ / "list.Kavrel")
        << "list.Kavrel\r\nV1.0\r\n0\r\n1\r\n1\r\n1\r\n0\r\n0\r\n0\r\n"
           "A0\r\nTrue\r\n3\r\ntwo\r\n1\r\n0\r\n0\r\n50\r\n2\r\n"
           "a\r\n2.5\r\na.png\r\nb\r\n3,5\r\nb.png\r\n0\r\n"
           "B0\r\nFalse\r\nX0\r\n0\r\nf\r\n3\r\n0\r\n";
    const auto r = run(R"(open
answer file list.Kavrel
click MatrixForm.myload
expect message "Matrix Project loaded"
expect var effA(0).durations(1) 3.5
expect MatrixForm.timerA2.Interval 2500
expect MatrixForm.timerA2.Enabled True
wait 2499
expect var imageIdxA 0
wait 1
expect var imageIdxA 1
expect frame A 0 0 0 255 0
expect MatrixForm.timerA2.Interval 3500
wait 3499
expect var imageIdxA 1
wait 1
expect var imageIdxA 0
expect MatrixForm.timerA2.Interval 2500
quit
)");
    EXPECT_EQ(r.status, 0) << r.output;
}

// On a one-light matrix each step shows one picture pixel: the straight runs
// wrap, every diagonal run restarts from its start, and up stands still.
TEST_F(ImageScript, OneLightMatrixScrollsEveryDirection) {
    picture("tiny.png", "png", 3, 2, code);
    const auto r = run(R"(grid 1x1
open
set MatrixForm.typeA Image
click MatrixForm.editA
click MxImageForm.BImage
answer file tiny.png
click MxImageList.addImage
click MxImageList.OK
expect frame A 0 0 1 1 99
set MxImageForm.Slider1 100
click MxImageForm.richtung(3)
wait 10
expect frame A 0 0 9 1 99
wait 10
expect frame A 0 0 17 1 99
wait 10
expect frame A 0 0 1 1 99
click MxImageForm.richtung(2)
expect var stripLenA 2
wait 10
expect frame A 0 0 9 9 99
wait 10
expect var posXA 0
expect frame A 0 0 1 1 99
click MxImageForm.richtung(4)
expect frame A 0 0 1 9 99
wait 10
expect frame A 0 0 9 1 99
wait 10
expect frame A 0 0 1 9 99
click MxImageForm.richtung(6)
expect frame A 0 0 17 9 99
wait 10
expect frame A 0 0 9 1 99
wait 10
expect frame A 0 0 0 0 0
wait 10
expect frame A 0 0 17 9 99
click MxImageForm.richtung(8)
expect frame A 0 0 17 1 99
wait 10
expect frame A 0 0 9 9 99
wait 10
expect frame A 0 0 17 1 99
click MxImageForm.richtung(1)
wait 10
expect frame A 0 0 1 9 99
wait 10
expect frame A 0 0 1 1 99
click MxImageForm.richtung(5)
expect frame A 0 0 1 1 99
wait 10
expect var posYA 1
wait 10
expect var posYA 1
expect frame A 0 0 1 9 99
click MxImageForm.richtung(7)
expect var posXA 1
wait 10
expect frame A 0 0 1 1 99
wait 10
expect frame A 0 0 17 1 99
quit
)");
    EXPECT_EQ(r.status, 0) << r.output;
}

// The demo makes its pictures from pane snapshots, scrolls one in bank A and
// plays both in bank B; bank A's wrapped frame is blue then green.
TEST_F(ImageScript, TheDemoScrollsAndPlaysPicturesItMade) {
    const auto r =
        hosttest::runKavrelIn(dir_, std::string("'") + KAVREL_SOURCE_DIR + "/examples/demo.kav'");
    ASSERT_EQ(r.status, 0) << r.output;
    for (const char* name : {"09-gradient.png", "10-image-scroll.png", "12-list-first.png",
                             "12-list-mix.png", "13-list-second.png", "13-list-mix.png"})
        EXPECT_TRUE(std::filesystem::is_regular_file(dir_ / "demo-out" / name)) << name;
    const auto wrap = platform::loadPictureFile((dir_ / "demo-out/11-image-wrap.png").string(), 0);
    ASSERT_TRUE(wrap.has_value());
    ASSERT_EQ(wrap->width(), 180);
    // Lights 0 to 9 blue, 10 and 11 green, 15 pixels each.
    EXPECT_EQ(wrap->at(9 * 15 + 7, 90), platform::rgb(0, 0, 255));
    EXPECT_EQ(wrap->at(10 * 15 + 7, 90), platform::rgb(0, 255, 0));
    EXPECT_EQ(wrap->at(11 * 15 + 14, 179), platform::rgb(0, 255, 0));
}

}  // namespace
