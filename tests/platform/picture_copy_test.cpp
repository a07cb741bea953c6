// What of a picture file reaches the decoder: only the parts that make its
// pixels, read once, and decoded by the loader of the format it starts as.
#include "platform/picture_header.h"

#include <fcntl.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/picture_file.h"
#include "platform/unique_fd.h"
#include "tests/support/temp_folder.h"

using namespace platform;
using Verdict = PictureHeader::Verdict;

namespace {

using Bytes = std::vector<uint8_t>;
constexpr Color kRed = rgb(255, 0, 0), kBlue = rgb(0, 0, 255);

// A 4 x 4 picture, each pixel its own colour, encoded by gdk-pixbuf.
Bytes encoded(const char* format) {
    GdkPixbuf* pb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            guint8* p = gdk_pixbuf_get_pixels(pb) + y * gdk_pixbuf_get_rowstride(pb) + 3 * x;
            p[0] = static_cast<guint8>(60 * x), p[1] = static_cast<guint8>(60 * y), p[2] = 99;
        }
    gchar* data = nullptr;
    gsize size = 0;
    EXPECT_TRUE(gdk_pixbuf_save_to_buffer(pb, &data, &size, format, nullptr, nullptr));
    g_object_unref(pb);
    Bytes b(data, data + size);
    g_free(data);
    return b;
}

// A 1 x 1 24-bit DIB of one colour, as a BMP file holds it after its file header.
Bytes dib(Color c) {
    Bytes b{40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0};
    b.resize(40, 0);
    b.insert(b.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                       static_cast<uint8_t>(c), 0});
    return b;
}

Bytes bmp(Color c) {
    Bytes b{'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    const Bytes d = dib(c);
    b.insert(b.end(), d.begin(), d.end());
    return b;
}

Bytes copyOf(const PictureBytes& in, Verdict* verdict = nullptr) {
    Bytes out;
    const Verdict v = readPicture(in, [&](const uint8_t* p, size_t n) {
                          out.insert(out.end(), p, p + n);
                          return true;
                      }).verdict;
    if (verdict) *verdict = v;
    return out;
}

Bytes copyOf(const Bytes& file, Verdict* verdict = nullptr) {
    return copyOf(memoryBytes(file), verdict);
}

// Writes `head`, a hole of `gap` bytes and `tail`: a file whose length on
// disk costs nothing.
std::string sparse(const std::string& path, const Bytes& head, uint64_t gap, const Bytes& tail) {
    const UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    EXPECT_TRUE(fd.valid());
    EXPECT_EQ(::pwrite(fd.get(), head.data(), head.size(), 0), static_cast<ssize_t>(head.size()));
    const auto at = static_cast<off_t>(head.size() + gap);
    EXPECT_EQ(::pwrite(fd.get(), tail.data(), tail.size(), at), static_cast<ssize_t>(tail.size()));
    return path;
}

std::string write(const std::string& path, const Bytes& b) {
    return sparse(path, b, 0, {});
}

std::vector<Color> pixelsOf(const std::optional<Surface>& s) {
    return s ? s->pixels() : std::vector<Color>{};
}

class PictureCopy : public ::testing::Test {
  protected:
    kavrel_test::TempFolder dir_{"kavrel-copy"};
};

}  // namespace

// A text chunk claiming 2^31 - 1 bytes, held as a hole: passed over by its
// length, so the copy is the picture's own chunks and the pixels those of
// the file without it.
TEST_F(PictureCopy, PngPassesOverChunksThatMakeNoPixels) {
    const Bytes png = encoded("png");
    const size_t afterHeader = 8 + 25;  // signature and IHDR
    Bytes head(png.begin(), png.begin() + afterHeader);
    head.insert(head.end(), {0x7F, 0xFF, 0xFF, 0xFF, 't', 'E', 'X', 't'});
    Bytes tail{0, 0, 0, 0};  // the text chunk's CRC
    tail.insert(tail.end(), png.begin() + afterHeader, png.end());
    const std::string file = sparse(dir_ / "text.png", head, 0x7FFFFFFF, tail);

    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    Verdict verdict{};
    const Bytes copy = copyOf(fileBytes(fd.get()), &verdict);
    EXPECT_EQ(verdict, Verdict::Fits);
    EXPECT_EQ(copy, copyOf(png));
    EXPECT_LE(copy.size(), png.size());
    const auto shown = loadPictureFile(file, 0);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->width(), 4);
    EXPECT_EQ(pixelsOf(shown), pixelsOf(loadPictureFile(write(dir_ / "plain.png", png), 0)));

    // A chunk cut short by the end of the file is still refused.
    EXPECT_FALSE(loadPictureFile(sparse(dir_ / "cut.png", head, 100, {}), 0));
}

// APP1 (Exif) and COM carry no pixels; APP0 (JFIF) and APP14 (Adobe) tell
// the colour transform and stay, as do fill bytes' markers.
TEST_F(PictureCopy, JpegPassesOverSegmentsThatMakeNoPixels) {
    const Bytes jpeg = encoded("jpeg");
    ASSERT_EQ(jpeg[3], 0xE0);  // gdk-pixbuf writes JFIF first
    const size_t afterApp0 = 4 + ((jpeg[4] << 8) | jpeg[5]);
    const Bytes adobe{0xFF, 0xEE, 0, 14, 'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, 1};
    Bytes kept(jpeg.begin(), jpeg.begin() + afterApp0);
    kept.insert(kept.end(), adobe.begin(), adobe.end());
    kept.insert(kept.end(), jpeg.begin() + afterApp0, jpeg.end());
    Bytes padded(jpeg.begin(), jpeg.begin() + afterApp0);
    padded.insert(padded.end(),
                  {0xFF, 0xE1, 0, 6, 'E', 'x', 'i', 'f', 0xFF, 0xFF, 0xFE, 0, 3, 'x'});
    padded.insert(padded.end(), adobe.begin(), adobe.end());
    padded.insert(padded.end(), {1, 2, 3});  // stray bytes before a marker
    padded.insert(padded.end(), jpeg.begin() + afterApp0, jpeg.end());
    padded.insert(padded.end(), {'a', 'f', 't', 'e', 'r'});

    EXPECT_EQ(copyOf(padded), copyOf(kept));
    EXPECT_EQ(pixelsOf(loadPictureFile(write(dir_ / "padded.jpg", padded), 0)),
              pixelsOf(loadPictureFile(write(dir_ / "kept.jpg", kept), 0)));

    // Stray bytes between segments longer than real files hold are refused.
    Bytes stray(jpeg.begin(), jpeg.begin() + afterApp0);
    stray.resize(stray.size() + kMaxStrayBytes + 1, 0);
    stray.insert(stray.end(), jpeg.begin() + afterApp0, jpeg.end());
    Verdict verdict{};
    copyOf(stray, &verdict);
    EXPECT_EQ(verdict, Verdict::Padded);
}

// A run of stray bytes before the first frame: a short one is passed over
// as the decoder does; 2 GB, held as a hole, is refused without reading it.
TEST_F(PictureCopy, GifStrayBytesArePassedOverOrRefused) {
    const Bytes gif{'G', 'I',  'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 255,  0,    0, 0,   0,
                    255, 0x2C, 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 0x44, 0x01, 0, 0x3B};
    const size_t frame = 19;
    Bytes head(gif.begin(), gif.begin() + frame);
    const Bytes tail(gif.begin() + frame, gif.end());
    Bytes shortRun = head;
    shortRun.resize(shortRun.size() + 100, 0);
    shortRun.insert(shortRun.end(), tail.begin(), tail.end());
    EXPECT_EQ(copyOf(shortRun), gif);
    const auto shown = loadPictureFile(write(dir_ / "short.gif", shortRun), 0);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->at(0, 0), kRed);

    std::string error;
    const std::string file = sparse(dir_ / "long.gif", head, uint64_t{2} << 30, tail);
    EXPECT_FALSE(loadPictureFile(file, 0, &error));
    EXPECT_NE(error.find("more than its pixels"), std::string::npos) << error;
}

// The first bytes read as an ICO, and also as a QuickTime "idat" atom
// whose content the library's sniffer would hand to another loader. Only
// the ICO loader may decode it: the ICO's own pixel, or nothing.
TEST_F(PictureCopy, AnIcoIsDecodedAsAnIcoOnly) {
    auto wrapped = [&](const std::string& inner) {
        const std::string atom = std::string("\0\0\1\0idat", 8) + inner;  // 256 bytes
        Bytes b(atom.begin(), atom.end());
        b.resize(256, ' ');
        const uint32_t count = 0x6469;  // "id", read as the entry count
        const uint64_t at = 6 + 16 * uint64_t{count};
        b.resize(at, 0);
        // Every entry past the text points at one 1 x 1 blue icon; the
        // text's entries point past the end of the file.
        for (uint64_t e = 6 + 16 * 15; e + 16 <= at; e += 16) {
            const uint8_t entry[16] = {1,
                                       1,
                                       0,
                                       0,
                                       1,
                                       0,
                                       24,
                                       0,
                                       48,
                                       0,
                                       0,
                                       0,
                                       static_cast<uint8_t>(at),
                                       static_cast<uint8_t>(at >> 8),
                                       static_cast<uint8_t>(at >> 16),
                                       0};
            const size_t from = e < 256 ? 256 - e : 0;  // the atom's text stays
            std::memcpy(b.data() + e + from, entry + from, 16 - from);
        }
        Bytes icon = dib(kBlue);
        icon[8] = 2;                            // the height counts the mask's rows too
        icon.insert(icon.end(), {0, 0, 0, 0});  // the mask: opaque
        b.insert(b.end(), icon.begin(), icon.end());
        return b;
    };
    const std::string xpm = "/* XPM */\nstatic char*x[]={\"1 1 1 1\",\"a c #FF0000\",\"a\"};\n";
    const std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8000\" height=\"8000\">"
        "<rect width=\"8000\" height=\"8000\" fill=\"red\"/></svg>";
    const Bytes asXpm = wrapped(xpm);
    ASSERT_EQ(readPictureHeader(asXpm).verdict, Verdict::Fits);
    ASSERT_EQ(readPictureHeader(asXpm).format, PictureFormat::Ico);
    const std::string file = write(dir_ / "x.ico", asXpm);
    // The library alone takes it for what it wraps.
    if (GdkPixbuf* raw = gdk_pixbuf_new_from_file(file.c_str(), nullptr)) {
        EXPECT_EQ(gdk_pixbuf_get_width(raw), 1);
        EXPECT_EQ(gdk_pixbuf_read_pixels(raw)[0], 255) << "the XPM's red";
        g_object_unref(raw);
    }
    const auto shown = loadPictureFile(file, 0);
    EXPECT_TRUE(!shown || (shown->width() == 1 && shown->at(0, 0) == kBlue));

    bool svgLoader = false;
    GSList* formats = gdk_pixbuf_get_formats();
    for (GSList* f = formats; f; f = f->next) {
        gchar* name = gdk_pixbuf_format_get_name(static_cast<GdkPixbufFormat*>(f->data));
        svgLoader = svgLoader || std::string(name) == "svg";
        g_free(name);
    }
    g_slist_free(formats);
    if (!svgLoader) GTEST_SKIP() << "no SVG loader installed";
    const auto svgShown = loadPictureFile(write(dir_ / "s.ico", wrapped(svg)), 0);
    EXPECT_TRUE(!svgShown || (svgShown->width() == 1 && svgShown->at(0, 0) == kBlue));
}

// The file is rewritten with another picture between the check and the
// decode: the decoder sees the bytes that were checked.
TEST_F(PictureCopy, TheDecoderGetsTheBytesTheCheckRead) {
    const std::string file = write(dir_ / "p.bmp", bmp(kRed));
    PictureLoadHooks hooks;
    hooks.afterRead = [&] {
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            << "GIF89a, not the checked picture";
    };
    const auto shown = loadPictureFile(file, 0, nullptr, nullptr, &hooks);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->at(0, 0), kRed);
}
