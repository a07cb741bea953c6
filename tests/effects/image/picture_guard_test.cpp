// Picture files as an Image entry meets them: hostile sizes, formats other
// than the ones pictures come in, and truncated files of each format are
// refused quickly and quietly.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/picture_file.h"

namespace {

using Bytes = std::vector<uint8_t>;

class PictureGuard : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/kavrel-guard-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string write(const std::string& name, const Bytes& bytes) {
        const std::string p = dir_ + "/" + name;
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        return p;
    }
    Bytes read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    // A picture of the format written by gdk-pixbuf, read back as bytes.
    Bytes encoded(const char* type, int w, int h) {
        GdkPixbuf* pb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, w, h);
        gdk_pixbuf_fill(pb, 0x3366ccff);
        const std::string p = dir_ + "/enc." + type;
        EXPECT_TRUE(gdk_pixbuf_save(pb, p.c_str(), type, nullptr, nullptr));
        g_object_unref(pb);
        return read(p);
    }
    std::string dir_;
};

// A GIF whose screen and only frame declare 32767 x 32767 pixels.
Bytes gifBomb() {
    return Bytes{'G',  'I',  'F',  '8',  '9', 'a', 0xFF, 0x7F, 0xFF, 0x7F, 0x80, 0,
                 0,    0,    0,    0,    255, 255, 255,  0x2C, 0,    0,    0,    0,
                 0xFF, 0x7F, 0xFF, 0x7F, 0,   2,   2,    0x44, 0x01, 0,    0x3B};
}

TEST(PictureGuardBytes, BombIsTheSmallFileItClaimsToBe) {
    EXPECT_EQ(gifBomb().size(), 35u);
}

TEST_F(PictureGuard, DeclaredHugeSizesAreRefusedBeforeDecoding) {
    std::string error;
    EXPECT_FALSE(platform::loadPictureFile(write("bomb.gif", gifBomb()), 0, &error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;

    // 9000 x 9000 keeps each side under the limit but exceeds 64 megapixels.
    Bytes bmp{'B', 'M'};
    auto le = [&bmp](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) bmp.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    le(54, 4), le(0, 4), le(54, 4), le(40, 4), le(9000, 4), le(9000, 4), le(1, 2), le(24, 2);
    for (int i = 0; i < 6; ++i) le(0, 4);
    error.clear();
    EXPECT_FALSE(platform::loadPictureFile(write("wide.bmp", bmp), 0, &error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
}

TEST_F(PictureGuard, OnlyPictureFormatsLoad) {
    const std::string svg =
        "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'>"
        "<rect width='4' height='4' fill='red'/></svg>";
    const std::string xpm =
        "/* XPM */\nstatic char *x[] = {\"1 1 1 1\", \"a c #FF0000\", \"a\"};\n";
    for (const auto& [name, text] : {std::pair{"a.svg", svg}, std::pair{"a.xpm", xpm}}) {
        std::string error;
        EXPECT_FALSE(
            platform::loadPictureFile(write(name, Bytes(text.begin(), text.end())), 0, &error))
            << name;
        EXPECT_NE(error.find("format"), std::string::npos) << error;
    }
    for (const char* type : {"bmp", "jpeg", "png", "ico"}) {
        const std::string p = write(std::string("ok.") + type, encoded(type, 16, 16));
        const auto s = platform::loadPictureFile(p, 0);
        ASSERT_TRUE(s) << type;
        EXPECT_EQ(s->width(), 16) << type;
    }
}

TEST_F(PictureGuard, TruncatedFilesFailOrKeepTheirDeclaredSize) {
    for (const char* type : {"bmp", "jpeg", "png", "ico"}) {
        const Bytes whole = encoded(type, 24, 24);
        const Bytes head(whole.begin(), whole.begin() + 10);
        EXPECT_FALSE(platform::loadPictureFile(write(std::string("head.") + type, head), 0))
            << type;
        // Without its second half a picture fails, or (BMP and ICO rows are
        // independent) loads at its declared size with what it holds.
        const Bytes half(whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2));
        const auto s = platform::loadPictureFile(write(std::string("half.") + type, half), 0);
        if (s) {
            EXPECT_EQ(s->width(), 24) << type;
            EXPECT_EQ(s->height(), 24) << type;
        }
    }
    const Bytes bomb = gifBomb();
    EXPECT_FALSE(
        platform::loadPictureFile(write("cut.gif", Bytes(bomb.begin(), bomb.begin() + 12)), 0));
}

}  // namespace
