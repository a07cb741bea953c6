#include "platform/pictures/picture_file.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "tests/support/picture_bytes.h"
#include "tests/support/temp_folder.h"

using namespace platform;

namespace {

constexpr Color kRed = rgb(255, 0, 0), kGreen = rgb(0, 255, 0), kBlue = rgb(0, 0, 255);
constexpr Color kWhite = rgb(255, 255, 255);
constexpr Color kSeeThrough = rgb(12, 34, 56);

using namespace kavrel_test;

// A 24-bit bottom-up BMP; rows are padded to four bytes.
Bytes bmp24(int32_t w, int32_t h, const std::function<Color(int32_t, int32_t)>& px) {
    const uint32_t row = (static_cast<uint32_t>(w) * 3 + 3) / 4 * 4;
    const uint32_t data = row * static_cast<uint32_t>(h);
    Bytes b{'B', 'M'};
    putLE(b, 54 + data, 4);
    putLE(b, 0, 4);
    putLE(b, 54, 4);
    for (uint32_t v : {40u, static_cast<uint32_t>(w), static_cast<uint32_t>(h)}) putLE(b, v, 4);
    putLE(b, 1, 2);   // planes
    putLE(b, 24, 2);  // bits per pixel
    for (uint32_t v : {0u, data, 2835u, 2835u, 0u, 0u}) putLE(b, v, 4);
    for (int32_t y = h - 1; y >= 0; --y) {
        for (int32_t x = 0; x < w; ++x) {
            const Color c = px(x, y);
            b.push_back(static_cast<uint8_t>(c >> 16));
            b.push_back(static_cast<uint8_t>(c >> 8));
            b.push_back(static_cast<uint8_t>(c));
        }
        b.resize(b.size() + (row - static_cast<uint32_t>(w) * 3), 0);
    }
    return b;
}

// LZW data of a 2x2 GIF frame with 2-bit pixels at (`x`, `y`), with a local
// colour table when `local` holds one (4 colours). A clear code after every
// second pixel keeps all codes at 3 bits.
Bytes gifFrame(const uint8_t (&idx)[4], int transparent, uint8_t x = 0, uint8_t y = 0,
               const Bytes& local = {}) {
    Bytes b{0x21,
            0xF9,
            4,
            static_cast<uint8_t>(transparent >= 0 ? 1 : 0),
            10,
            0,
            static_cast<uint8_t>(transparent >= 0 ? transparent : 0),
            0};
    b.insert(b.end(),
             {0x2C, x, 0, y, 0, 2, 0, 2, 0, static_cast<uint8_t>(local.empty() ? 0 : 0x81)});
    b.insert(b.end(), local.begin(), local.end());
    b.push_back(2);  // code size
    const uint8_t codes[] = {4, idx[0], idx[1], 4, idx[2], idx[3], 5};
    uint32_t bits = 0;
    for (int i = 0; i < 7; ++i) bits |= static_cast<uint32_t>(codes[i]) << (3 * i);
    b.insert(b.end(), {3, static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                       static_cast<uint8_t>(bits >> 16), 0});
    return b;
}

// Two frames; palette red, green, blue, white.
Bytes twoFrameGif() {
    Bytes b{'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0xF1, 0, 0};
    b.insert(b.end(), {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
    const Bytes first = gifFrame({0, 1, 2, 3}, 3), second = gifFrame({2, 2, 2, 2}, -1);
    b.insert(b.end(), first.begin(), first.end());
    b.insert(b.end(), second.begin(), second.end());
    b.push_back(0x3B);
    return b;
}

// A GIF of `frames` 1 x 1 frames without extensions: the first red, the
// others green.
Bytes manyFrameGif(int frames) {
    Bytes b{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 255, 0, 0, 0, 255, 0};
    for (int i = 0; i < frames; ++i) {
        const uint8_t clearIndexEnd = i == 0 ? 0x44 : 0x4C;  // code size 2: clear, 0 or 1, end
        b.insert(b.end(), {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, clearIndexEnd, 0x01, 0});
    }
    b.push_back(0x3B);
    return b;
}

class PictureFiles : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path(name);
    }
    // Saves pixels through gdk-pixbuf; `alphaAt` gives each pixel's alpha.
    std::string save(const std::string& name, const char* format, int w, int h,
                     const std::function<Color(int, int)>& px,
                     const std::function<uint8_t(int, int)>& alphaAt = nullptr,
                     const char* option = nullptr, const char* value = nullptr) const {
        GdkPixbuf* pb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, alphaAt != nullptr, 8, w, h);
        const int stride = gdk_pixbuf_get_rowstride(pb), n = gdk_pixbuf_get_n_channels(pb);
        guint8* data = gdk_pixbuf_get_pixels(pb);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                guint8* p = data + y * stride + x * n;
                const Color c = px(x, y);
                p[0] = static_cast<guint8>(c), p[1] = static_cast<guint8>(c >> 8),
                p[2] = static_cast<guint8>(c >> 16);
                if (alphaAt) p[3] = alphaAt(x, y);
            }
        GError* err = nullptr;
        const gboolean ok =
            gdk_pixbuf_save(pb, path(name).c_str(), format, &err, option, value, nullptr);
        EXPECT_TRUE(ok) << (err ? err->message : "");
        g_clear_error(&err);
        g_object_unref(pb);
        return path(name);
    }

    kavrel_test::TempFolder folder_{"kavrel-pic"};
    std::filesystem::path dir_ = folder_.path();
};

Color quadrants(int x, int y) {
    return x < 8 ? (y < 8 ? kRed : kGreen) : (y < 8 ? kBlue : kWhite);
}

int distance(Color a, Color b) {
    int d = 0;
    for (int shift : {0, 8, 16})
        d = std::max(d, std::abs(static_cast<int>((a >> shift) & 255) -
                                 static_cast<int>((b >> shift) & 255)));
    return d;
}

}  // namespace

TEST_F(PictureFiles, HandMadeBmpKeepsRowOrderAndColours) {
    const Color px[2][3] = {{kRed, kGreen, kBlue}, {kWhite, 0, rgb(10, 20, 30)}};
    const auto file = write("a.bmp", bmp24(3, 2, [&](int x, int y) { return px[y][x]; }));
    const auto s = loadPictureFile(file, kSeeThrough);
    ASSERT_TRUE(s);
    ASSERT_EQ(s->width(), 3);
    ASSERT_EQ(s->height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(s->at(x, y), px[y][x]) << x << "," << y;
}

TEST_F(PictureFiles, PicturesOverTheSideLimitAreRefused) {
    const auto grey = [](int, int) { return rgb(7, 7, 7); };
    const auto fits = loadPictureFile(write("w.bmp", bmp24(32767, 1, grey)), 0);
    ASSERT_TRUE(fits);
    EXPECT_EQ(fits->width(), 32767);
    for (auto [w, h] : {std::pair{32768, 1}, {1, 32768}}) {
        std::string error;
        EXPECT_FALSE(loadPictureFile(write("big.bmp", bmp24(w, h, grey)), 0, &error));
        EXPECT_NE(error.find("too large"), std::string::npos) << error;  // refused from the header
    }
}

TEST_F(PictureFiles, PngAlphaBelowHalfBecomesTheGivenColour) {
    const uint8_t alpha[2][2] = {{255, 0}, {127, 128}};
    const auto file = save(
        "a.png", "png", 2, 2, [](int x, int) { return x ? kBlue : kRed; },
        [&](int x, int y) { return alpha[y][x]; });
    const auto s = loadPictureFile(file, kSeeThrough);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->at(0, 0), kRed);
    EXPECT_EQ(s->at(1, 0), kSeeThrough);
    EXPECT_EQ(s->at(0, 1), kSeeThrough);
    EXPECT_EQ(s->at(1, 1), kBlue);
}

TEST_F(PictureFiles, JpegAndIcoLoad) {
    const auto jpeg = loadPictureFile(
        save("a.jpg", "jpeg", 16, 16, quadrants, nullptr, "quality", "100"), kSeeThrough);
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->width(), 16);
    for (auto [x, y] : {std::pair{3, 3}, {3, 12}, {12, 3}, {12, 12}})
        EXPECT_LE(distance(jpeg->at(x, y), quadrants(x, y)), 8) << x << "," << y;

    const auto ico = loadPictureFile(
        save("a.ico", "ico", 16, 16, quadrants, [](int x, int y) { return x + y < 4 ? 0 : 255; }),
        kSeeThrough);
    ASSERT_TRUE(ico);
    EXPECT_EQ(ico->height(), 16);
    EXPECT_EQ(ico->at(0, 0), kSeeThrough);
    for (auto [x, y] : {std::pair{7, 3}, {3, 12}, {12, 3}, {12, 12}})
        EXPECT_EQ(ico->at(x, y), quadrants(x, y)) << x << "," << y;
}

TEST_F(PictureFiles, GifGivesItsFirstFrame) {
    const auto s = loadPictureFile(write("a.gif", twoFrameGif()), kSeeThrough);
    ASSERT_TRUE(s);
    ASSERT_EQ(s->width(), 2);
    EXPECT_EQ(s->at(0, 0), kRed);
    EXPECT_EQ(s->at(1, 0), kGreen);
    EXPECT_EQ(s->at(0, 1), kBlue);
    EXPECT_EQ(s->at(1, 1), kSeeThrough);  // the first frame's transparent index
}

// Only the first frame is handed to the decoder: what it gives must be
// what the decoder makes of the whole file.
TEST_F(PictureFiles, GifFirstFrameIsWhatTheWholeFileGives) {
    const Bytes palette{255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    // A first frame smaller than the screen, after a loop and a comment.
    Bytes inset{'G', 'I', 'F', '8', '9', 'a', 4, 0, 3, 0, 0xF1, 0, 0};
    inset.insert(inset.end(), palette.begin(), palette.end());
    inset.insert(inset.end(), {0x21, 0xFF, 11, 'N', 'E', 'T', 'S',  'C',  'A', 'P', 'E', '2', '.',
                               '0',  3,    1,  0,   0,   0,   0x21, 0xFE, 2,   'h', 'i', 0});
    // No global colour table: the first frame brings its own.
    Bytes local{'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0, 0, 0};
    for (int i = 0; i < 2; ++i) {
        const Bytes f =
            i == 0 ? gifFrame({0, 1, 2, 3}, -1, 1, 1) : gifFrame({3, 3, 3, 3}, -1, 2, 0);
        inset.insert(inset.end(), f.begin(), f.end());
        const Bytes g = i == 0
                            ? gifFrame({3, 2, 1, 0}, 1, 0, 0, {9, 9, 9, 0, 0, 0, 7, 7, 7, 5, 5, 5})
                            : gifFrame({0, 0, 0, 0}, -1, 0, 0, palette);
        local.insert(local.end(), g.begin(), g.end());
    }
    inset.push_back(0x3B);
    local.push_back(0x3B);
    for (const auto& [name, bytes] :
         {std::pair{"two.gif", twoFrameGif()}, std::pair{"inset.gif", inset},
          std::pair{"local.gif", local}}) {
        const std::string file = write(name, bytes);
        const auto s = loadPictureFile(file, kSeeThrough);
        ASSERT_TRUE(s) << name;
        GdkPixbuf* whole = gdk_pixbuf_new_from_file(file.c_str(), nullptr);
        ASSERT_NE(whole, nullptr) << name;
        ASSERT_EQ(s->width(), gdk_pixbuf_get_width(whole)) << name;
        ASSERT_EQ(s->height(), gdk_pixbuf_get_height(whole)) << name;
        const int stride = gdk_pixbuf_get_rowstride(whole), n = gdk_pixbuf_get_n_channels(whole);
        const guint8* data = gdk_pixbuf_read_pixels(whole);
        for (int y = 0; y < s->height(); ++y)
            for (int x = 0; x < s->width(); ++x) {
                const guint8* p = data + y * stride + x * n;
                const bool clear = n == 4 && p[3] < 128;
                EXPECT_EQ(s->at(x, y), clear ? kSeeThrough : rgb(p[0], p[1], p[2]))
                    << name << " " << x << "," << y;
            }
        g_object_unref(whole);
    }
}

TEST_F(PictureFiles, GifOfManyFramesShowsItsFirst) {
    const Bytes gif = manyFrameGif(100000);
    ASSERT_EQ(gif.size(), 19u + 15u * 100000 + 1);
    const auto s = loadPictureFile(write("many.gif", gif), kSeeThrough);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->width(), 1);
    EXPECT_EQ(s->at(0, 0), kRed);
}

TEST_F(PictureFiles, CostlyPartsAreRefusedBeforeDecoding) {
    // A text chunk that claims nearly 2 GB of a 44-byte file.
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    png.insert(png.end(), {0, 0, 0, 1, 0, 0, 0, 1, 8, 2, 0, 0, 0, 0x90, 0x77, 0x53, 0xDE});
    png.insert(png.end(), {0x7F, 0xFF, 0xFF, 0xF0, 'z', 'T', 'X', 't', 'a', 0, 0});
    ASSERT_EQ(png.size(), 44u);
    std::string error;
    EXPECT_FALSE(loadPictureFile(write("text.png", png), 0, &error));
    EXPECT_NE(error.find("cannot decode"), std::string::npos) << error;

    // A progressive JPEG of more scans than an encoder writes.
    Bytes jpeg{0xFF, 0xD8, 0xFF, 0xC2, 0, 11, 8, 0x20, 0, 0x20, 0, 1, 1, 0x11, 0};
    for (int i = 0; i <= kMaxJpegScans; ++i)
        jpeg.insert(jpeg.end(), {0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 0, 0});
    jpeg.insert(jpeg.end(), {0xFF, 0xD9});
    EXPECT_FALSE(loadPictureFile(write("scans.jpg", jpeg), 0, &error));
    EXPECT_NE(error.find("too many scans"), std::string::npos) << error;
}

TEST_F(PictureFiles, BrokenOrMissingFilesFailCleanly) {
    const Bytes png = [&] {
        std::ifstream in(save("whole.png", "png", 32, 32, quadrants), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }();
    std::mt19937 gen(7);
    Bytes noise(300);
    for (auto& b : noise) b = static_cast<uint8_t>(gen());
    const Bytes gif = twoFrameGif();
    const Bytes bmp = bmp24(4, 4, quadrants);
    std::filesystem::create_directory(path("dir.png"));
    ASSERT_EQ(mkfifo(path("pipe.png").c_str(), 0600), 0);  // opening it would block
    for (const std::string& file :
         {write("cut.png", Bytes(png.begin(), png.begin() + static_cast<long>(png.size() / 2))),
          write("cut.gif", Bytes(gif.begin(), gif.begin() + 20)),
          write("cut.bmp", Bytes(bmp.begin(), bmp.begin() + 40)), write("noise.bmp", noise),
          write("empty.jpg", {}), path("dir.png"), path("pipe.png"), path("missing.png"),
          std::string()}) {
        std::string error;
        EXPECT_FALSE(loadPictureFile(file, 0, &error)) << file;
        EXPECT_FALSE(error.empty()) << file;
    }
}

TEST_F(PictureFiles, WritePngRoundTripsAndRefusesEmptyBuffers) {
    Surface s(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) s.set(x, y, rgb(x * 50, y * 100, 255 - x * y * 17));
    ASSERT_TRUE(writePng(s, path("out.png")));
    const auto back = loadPictureFile(path("out.png"), kSeeThrough);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width(), 5);
    EXPECT_EQ(back->pixels(), s.pixels());

    EXPECT_FALSE(writePng(Surface(), path("empty.png")));
    EXPECT_FALSE(std::filesystem::exists(path("empty.png")));
    EXPECT_FALSE(writePng(s, path("no-such-dir/out.png")));
}

namespace {

// A zlib stream of one stored block holding `raw`.
Bytes stored(const Bytes& raw) {
    const auto n = static_cast<uint16_t>(raw.size());
    Bytes z{0x78, 0x01, 1};
    putLE(z, n | static_cast<uint32_t>(static_cast<uint16_t>(~n)) << 16, 4);
    z.insert(z.end(), raw.begin(), raw.end());
    uint32_t a = 1, s = 0;
    for (uint8_t c : raw) a = (a + c) % 65521, s = (s + a) % 65521;
    putBE(z, (s << 16) | a);
    return z;
}

// An 8 x 8 PNG whose IDAT holds the zlib stream `z`: grey, or of a palette
// when `palettes` PLTE chunks come first.
Bytes eightByEight(bool interlaced, const Bytes& z, int palettes = 0) {
    Bytes b{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, ihdr;
    putBE(ihdr, 8), putBE(ihdr, 8);
    const auto colours = static_cast<uint8_t>(palettes > 0 ? 3 : 0);
    ihdr.insert(ihdr.end(), {8, colours, 0, 0, static_cast<uint8_t>(interlaced ? 1 : 0)});
    pngChunk(b, "IHDR", ihdr);
    for (int i = 0; i < palettes; ++i) pngChunk(b, "PLTE", {0, 0, 0});
    pngChunk(b, "IDAT", z);
    pngChunk(b, "IEND", {});
    return b;
}

// An 8 x 8 grey PNG whose IDAT holds `raw` (filter bytes and rows) as one
// whole zlib stream of a stored block.
Bytes greyPng(bool interlaced, const Bytes& raw) {
    return eightByEight(interlaced, stored(raw));
}

}  // namespace

// A PNG whose data is whole as a stream but short of its last row is
// refused, interlaced or not: the progressive loader would fill the rows
// that never came. With all its rows (8 of 9 bytes; Adam7's seven passes
// of an 8 x 8 picture take 2, 2, 3, 6, 10, 20 and 36 bytes) it loads.
TEST_F(PictureFiles, APngShortOfItsLastRowIsRefused) {
    for (const bool interlaced : {false, true}) {
        const size_t whole = interlaced ? 2 + 2 + 3 + 6 + 10 + 20 + 36 : 8 * 9;
        Bytes raw(whole, 0);  // filter 0, black
        const auto shown = loadPictureFile(write("whole.png", greyPng(interlaced, raw)), 0);
        ASSERT_TRUE(shown) << interlaced;
        EXPECT_EQ(shown->at(7, 7), rgb(0, 0, 0)) << interlaced;
        raw.resize(raw.size() - 5);
        std::string error;
        EXPECT_FALSE(loadPictureFile(write("short.png", greyPng(interlaced, raw)), 0, &error))
            << interlaced;
        EXPECT_FALSE(error.empty());
    }
}

// The reason a picture is refused for names the file, and is the loader's
// own where the loader refused it.
TEST_F(PictureFiles, ARefusalNamesTheFileAndTheLoadersReason) {
    const Bytes black(8 * 9, 0), png = greyPng(false, black);
    Bytes badCrc = png, badFilter = black, badHeader = stored(black);
    badCrc[badCrc.size() - 13] ^= 1;  // IDAT's CRC, before IEND's 12 bytes
    badFilter[9] = 5;
    badHeader[1] = 0x02;
    Bytes gif = twoFrameGif();
    gif[43] = 12;  // the first frame's LZW code size
    // A JPEG of 7-bit samples, which libjpeg does not take.
    const Bytes jpeg{0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 7, 0, 8, 0, 8, 1,    1,   0x11,
                     0,    0xFF, 0xDA, 0,    8, 1,  1, 0, 0, 0, 0, 0xFF, 0xD9};
    const struct {
        const char* name;
        Bytes bytes;
        const char* reason;
    } cases[] = {
        {"crc.png", badCrc, "IDAT: CRC error"},
        {"palette.png", eightByEight(false, stored(black), 2), "PLTE: duplicate"},
        {"filter.png", greyPng(false, badFilter), "bad adaptive filter value"},
        {"empty.png", joined(slice(png, 0, 33), slice(png, png.size() - 12, png.size())),
         "IEND: out of place"},
        {"header.png", eightByEight(false, badHeader), "cut short"},
        {"adam7.png", greyPng(true, slice(black, 0, 60)), "Not enough image data"},
        {"lzw.gif", gif, "incorrect LZW compression"},
        {"seven.jpg", jpeg, "precision 7"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(loadPictureFile(write(c.name, c.bytes), 0, &error)) << c.name;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
        EXPECT_NE(error.find(path(c.name)), std::string::npos) << c.name << ": " << error;
    }
}
