// Picture files as an Image entry meets them: hostile sizes, formats other
// than the ones pictures come in, and truncated files of each format are
// refused quickly and quietly.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/pictures/picture_file.h"
#include "platform/picture_readers/picture_header.h"
#include "tests/support/picture_bytes.h"
#include "tests/support/picture_walk.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace kavrel_test;

class PictureGuard : public ::testing::Test {
  protected:
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
    kavrel_test::TempFolder folder_{"kavrel-guard"};
    std::string dir_ = folder_.path().string();
};

// A GIF whose screen and only frame declare 32767 x 32767 pixels.
Bytes gifBomb() {
    return Bytes{'G',  'I',  'F',  '8',  '9', 'a', 0xFF, 0x7F, 0xFF, 0x7F, 0x80, 0,
                 0,    0,    0,    0,    255, 255, 255,  0x2C, 0,    0,    0,    0,
                 0xFF, 0x7F, 0xFF, 0x7F, 0,   2,   2,    0x44, 0x01, 0,    0x3B};
}

// 32767 x 32767 RGBA with an empty compressed stream: 65 bytes.
Bytes pngBomb() {
    Bytes b{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, ihdr;
    putBE(ihdr, 32767), putBE(ihdr, 32767);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    pngChunk(b, "IHDR", ihdr);
    pngChunk(b, "IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    pngChunk(b, "IEND", {});
    return b;
}

// An info header of `w` x `h`, 32 bits a pixel, as BMP files and ICO entries hold it.
Bytes dibHeader(int32_t w, int32_t h) {
    Bytes b;
    putLE(b, 40, 4), putLE(b, static_cast<uint32_t>(w), 4), putLE(b, static_cast<uint32_t>(h), 4);
    putLE(b, 1, 2), putLE(b, 32, 2);
    for (int i = 0; i < 6; ++i) putLE(b, 0, 4);
    return b;
}

Bytes bmp(int32_t w, int32_t h) {
    Bytes b{'B', 'M'};
    putLE(b, 54, 4), putLE(b, 0, 4), putLE(b, 54, 4);
    const Bytes dib = dibHeader(w, h);
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

// An icon of one entry holding `image` (a PNG or a DIB).
Bytes ico(const Bytes& image) {
    Bytes b;
    putLE(b, 0, 2), putLE(b, 1, 2), putLE(b, 1, 2);
    b.insert(b.end(), {0, 0, 0, 0});
    putLE(b, 1, 2), putLE(b, 32, 2), putLE(b, static_cast<uint32_t>(image.size()), 4);
    putLE(b, 22, 4);
    b.insert(b.end(), image.begin(), image.end());
    return b;
}

TEST(PictureGuardBytes, BombsAreTheSmallFilesTheyClaimToBe) {
    EXPECT_EQ(gifBomb().size(), 35u);
    EXPECT_EQ(pngBomb().size(), 65u);
}

// Each format's bomb is refused from its header: at once, where decoding the
// PNG one took seconds and gigabytes. 9000 x 9000 keeps each side under the
// limit but exceeds 64 megapixels.
TEST_F(PictureGuard, DeclaredHugeSizesAreRefusedBeforeDecoding) {
    Bytes jpeg = encoded("jpeg", 8, 8);
    for (size_t i = 2; i + 8 < jpeg.size(); i += 2 + (jpeg[i + 2] << 8 | jpeg[i + 3])) {
        if (jpeg[i + 1] == 0xC0) {  // the frame header: height, then width
            for (size_t k : {i + 5, i + 7}) jpeg[k] = 0x7F, jpeg[k + 1] = 0xFF;
            break;
        }
    }
    const std::pair<const char*, Bytes> bombs[] = {
        {"bomb.png", pngBomb()},
        {"bomb.gif", gifBomb()},
        {"bomb.jpg", jpeg},
        {"top-down.bmp", bmp(32767, -32767)},
        {"wide.bmp", bmp(9000, 9000)},
        {"png.ico", ico(pngBomb())},
        {"dib.ico", ico(dibHeader(32767, 2 * 32767))},  // colour and mask rows
    };
    for (const auto& [name, bytes] : bombs) {
        EXPECT_EQ(readPictureHeader(bytes).verdict, platform::PictureHeader::Verdict::TooLarge)
            << name;
        std::string error;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(platform::loadPictureFile(write(name, bytes), 0, &error)) << name;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << name;
        EXPECT_NE(error.find("too large"), std::string::npos) << error;
    }
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
        // The header check reports the size the decoder gives.
        const auto header = readPictureHeader(read(p));
        EXPECT_EQ(header.verdict, platform::PictureHeader::Verdict::Fits) << type;
        EXPECT_EQ(header.width, 16) << type;
        EXPECT_EQ(header.height, 16) << type;
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
