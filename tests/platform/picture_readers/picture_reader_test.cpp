// What of a picture file reaches the decoder: only the parts that make its
// pixels, read once, and decoded by the loader of the format it starts as.
#include "platform/picture_readers/picture_header.h"

#include <fcntl.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files/unique_fd.h"
#include "platform/pictures/picture_file.h"
#include "tests/support/picture_bytes.h"
#include "tests/support/picture_load_hooks.h"
#include "tests/support/picture_walk.h"
#include "tests/support/temp_folder.h"

using namespace platform;
using namespace kavrel_test;
using Verdict = PictureHeader::Verdict;

namespace {

constexpr Color kRed = rgb(255, 0, 0), kBlue = rgb(0, 0, 255);

// A 4 x 4 picture, each pixel its own colour (its blue `blue`), encoded by
// gdk-pixbuf.
Bytes encoded(const char* format, uint8_t blue = 99) {
    GdkPixbuf* pb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            guint8* p = gdk_pixbuf_get_pixels(pb) + y * gdk_pixbuf_get_rowstride(pb) + 3 * x;
            p[0] = static_cast<guint8>(60 * x), p[1] = static_cast<guint8>(60 * y), p[2] = blue;
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

// A 1 x 1 GIF's screen and table, its first colour `c`; and its one frame,
// of that colour.
Bytes gifHead(Color c = kRed) {
    Bytes b{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 255};
    for (int i = 0; i < 3; ++i) b[13 + i] = static_cast<uint8_t>(c >> (8 * i));
    return b;
}
const Bytes kGifFrame{0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B};

// A 1 x 1 icon's DIB of one colour: its height counts the mask's rows too,
// and the mask is opaque.
Bytes icon(Color c) {
    Bytes d = dib(c);
    d[8] = 2;
    return joined(d, {0, 0, 0, 0});
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
    kept.push_back(0xFF);  // the fill byte before COM goes on
    kept.insert(kept.end(), jpeg.begin() + afterApp0, jpeg.end());
    kept.resize(kept.size() + 5);  // as many bytes after EOI, zeros
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

    // Stray bytes between segments up to the reader's buffer end, the next
    // marker's 0xFF its last byte, are passed over; more than real files hold
    // are refused.
    const auto withStray = [&](size_t n) {
        return joined(joined(slice(jpeg, 0, afterApp0), Bytes(n, 0)),
                      slice(jpeg, afterApp0, jpeg.size()));
    };
    const Bytes atBufferEnd = withStray(PictureStream::kBuffer - afterApp0 - 1);
    ASSERT_EQ(atBufferEnd[PictureStream::kBuffer - 1], 0xFF);
    EXPECT_EQ(readPictureHeader(atBufferEnd).verdict, Verdict::Fits);
    Verdict verdict{};
    copyOf(withStray(kMaxStrayBytes + 1), &verdict);
    EXPECT_EQ(verdict, Verdict::Padded);
}

// A run of stray bytes before the first frame: a short one is passed over
// as the decoder does; 2 GB, held as a hole, is refused without reading it.
// Runs each shorter than the allowance count together.
TEST_F(PictureCopy, GifStrayBytesArePassedOverOrRefused) {
    const Bytes head = gifHead(), &tail = kGifFrame;
    const Bytes shortRun = joined(joined(head, Bytes(100, 0)), tail);
    EXPECT_EQ(copyOf(shortRun), joined(head, tail));
    const auto shown = loadPictureFile(write(dir_ / "short.gif", shortRun), 0);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->at(0, 0), kRed);

    std::string error;
    const std::string file = sparse(dir_ / "long.gif", head, uint64_t{2} << 30, tail);
    EXPECT_FALSE(loadPictureFile(file, 0, &error));
    EXPECT_NE(error.find("more than its pixels"), std::string::npos) << error;

    Bytes runs = head;
    for (int i = 0; i < 2; ++i)
        runs = joined(joined(runs, Bytes(kMaxStrayBytes / 2 + 1, 7)), {0x21, 0xFE, 0});
    EXPECT_EQ(readPictureHeader(joined(runs, tail)).verdict, Verdict::Padded);
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
        // Every entry past the text points at one 256 x 256 blue icon,
        // which outranks the text's entries (they point past the end of
        // the file, and the loader would refuse the file at the first).
        for (uint64_t e = 6 + 16 * 15; e + 16 <= at; e += 16) {
            uint8_t entry[16] = {0, 0, 0, 0, 1, 0, 24, 0};
            for (int i = 0; i < 3; ++i) entry[12 + i] = static_cast<uint8_t>(at >> (8 * i));
            const size_t from = e < 256 ? 256 - e : 0;  // the atom's text stays
            std::memcpy(b.data() + e + from, entry + from, 16 - from);
        }
        Bytes blue = icon(kBlue);
        setLE(blue, 4, 256, 4), setLE(blue, 8, 512, 4);
        blue.resize(40);
        for (int i = 0; i < 256 * 256; ++i) blue.insert(blue.end(), {255, 0, 0});
        blue.resize(blue.size() + 256 * 32, 0);  // the mask's rows
        return joined(b, blue);
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
    EXPECT_TRUE(!shown || (shown->width() == 256 && shown->at(0, 0) == kBlue));

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
    EXPECT_TRUE(!svgShown || (svgShown->width() == 256 && svgShown->at(0, 0) == kBlue));
}

// The file is rewritten with another picture between the check and the
// decode: the decoder sees the bytes that were checked, of every format,
// those decoded from a sealed copy among them.
TEST_F(PictureCopy, TheDecoderGetsTheBytesTheCheckRead) {
    const std::string file = write(dir_ / "p.bmp", bmp(kRed));
    PictureLoadHooks hooks;
    hooks.afterRead = [&] {
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            << "GIF89a, not the checked picture";
    };
    const auto shown = [&] {
        const ScopedPictureLoadHooks scoped(hooks);
        return loadPictureFile(file, 0);
    }();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->at(0, 0), kRed);

    for (const char* format : {"gif", "jpeg", "ico", "png", "bmp"}) {
        const bool isGif = std::string(format) == "gif";
        const Bytes before = isGif ? joined(gifHead(kRed), kGifFrame) : encoded(format);
        const Bytes after = isGif ? joined(gifHead(kBlue), kGifFrame) : encoded(format, 222);
        const std::string path = write(dir_ / (std::string("p.") + format), before);
        const auto checked = pixelsOf(loadPictureFile(path, 0));
        ASSERT_FALSE(checked.empty()) << format;
        ASSERT_NE(pixelsOf(loadPictureFile(write(dir_ / "after", after), 0)), checked) << format;
        hooks.afterRead = [&] { write(path, after); };
        const ScopedPictureLoadHooks scoped(hooks);
        EXPECT_EQ(pixelsOf(loadPictureFile(path, 0)), checked) << format;
    }
}

namespace {

size_t find(const Bytes& b, const Bytes& what, size_t from = 0) {
    const auto at =
        std::search(b.begin() + static_cast<long>(from), b.end(), what.begin(), what.end());
    return static_cast<size_t>(at - b.begin());
}

// A picture of each format, padded past the reader's buffer with a part
// that is passed over, so that it is read in several reads; and its twin of
// the same length whose declared sizes say 30000.
struct Twins {
    const char* name;
    Bytes file, hostile;
};

std::vector<Twins> twins() {
    const Bytes pad(200 * 1024, 'x');
    std::vector<Twins> all;
    Bytes png = encoded("png"), text;  // a text chunk after IHDR
    pngChunk(text, "tEXt", pad);
    png = joined(joined(slice(png, 0, 33), text), slice(png, 33, png.size()));
    Bytes hugePng = png;
    setBE(hugePng, 16, 30000, 4), setBE(hugePng, 20, 30000, 4);
    all.push_back({"png", png, hugePng});

    Bytes jpeg = encoded("jpeg"), app1{0xFF, 0xE1, 0xFF, 0xFF};
    app1.resize(2 + 0xFFFF, 'x');
    for (int i = 0; i < 4; ++i)
        jpeg = joined(joined(slice(jpeg, 0, 2), app1), slice(jpeg, 2, jpeg.size()));
    Bytes hugeJpeg = jpeg;
    const size_t sof = find(jpeg, {0xFF, 0xC0});
    setBE(hugeJpeg, sof + 5, 30000, 2), setBE(hugeJpeg, sof + 7, 30000, 2);
    all.push_back({"jpeg", jpeg, hugeJpeg});

    Bytes b = bmp(kRed);  // rows 200 KB after the header
    setLE(b, 10, 54 + static_cast<uint32_t>(pad.size()), 4);
    b = joined(joined(slice(b, 0, 54), pad), slice(b, 54, b.size()));
    Bytes hugeBmp = b;
    setLE(hugeBmp, 18, 30000, 4), setLE(hugeBmp, 22, 30000, 4);
    all.push_back({"bmp", b, hugeBmp});

    Bytes ico{0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 1, 0, 24, 0, 48, 0, 0, 0};  // its data 200 KB on
    putLE(ico, 22 + static_cast<uint32_t>(pad.size()), 4);
    ico = joined(joined(ico, pad), icon(kBlue));
    Bytes hugeIco = ico;
    setLE(hugeIco, 22 + pad.size() + 4, 30000, 4), setLE(hugeIco, 22 + pad.size() + 8, 60000, 4);
    all.push_back({"ico", ico, hugeIco});

    Bytes gif = joined(gifHead(), {0x21, 0xFE});  // a comment of 200 KB in sub-blocks
    for (int i = 0; i < 800; ++i) gif = joined(joined(gif, {255}), Bytes(255, 'c'));
    gif = joined(joined(gif, {0}), kGifFrame);
    Bytes hugeGif = gif;
    setLE(hugeGif, 6, 30000, 2), setLE(hugeGif, 8, 30000, 2);
    setLE(hugeGif, gif.size() - 17 + 5, 30000, 2), setLE(hugeGif, gif.size() - 17 + 7, 30000, 2);
    all.push_back({"gif", gif, hugeGif});
    return all;
}

}  // namespace

// The file is rewritten, each size it declares made 30000, after the first
// read of the walk, after the second, and so on: whatever the reader judged
// is what it handed on, never a part read again after the rewrite.
TEST(PictureRead, TheBytesHandedOnAreTheBytesJudged) {
    for (const Twins& t : twins()) {
        ASSERT_EQ(t.file.size(), t.hostile.size()) << t.name;
        const PictureHeader plain = readPictureHeader(t.file);
        ASSERT_EQ(plain.verdict, Verdict::Fits) << t.name;
        for (int rewriteAfter = 0;; ++rewriteAfter) {
            int reads = 0;
            const PictureBytes source = [&](uint64_t offset, uint8_t* out, size_t n) {
                const Bytes& now = reads++ < rewriteAfter ? t.file : t.hostile;
                return memoryBytes(now)(offset, out, n);
            };
            Bytes handed;
            const PictureHeader h = readPicture(source, [&](const uint8_t* p, size_t n) {
                handed.insert(handed.end(), p, p + n);
                return true;
            });
            if (h.verdict == Verdict::Fits) {
                const PictureHeader again = readPictureHeader(handed);
                EXPECT_EQ(again.verdict, Verdict::Fits) << t.name << " " << rewriteAfter;
                EXPECT_EQ(again.width, h.width) << t.name << " " << rewriteAfter;
                EXPECT_EQ(again.height, h.height) << t.name << " " << rewriteAfter;
            }
            if (reads <= rewriteAfter) {
                EXPECT_EQ(h.verdict, Verdict::Fits) << t.name;
                EXPECT_GE(rewriteAfter, 2) << t.name << ": read in several reads";
                break;
            }
        }
    }
}

// A control extension's first sub-block is read whatever its length, an
// empty one too, and the sub-blocks after it up to an empty one: a frame
// written in them is never one. It goes on rebuilt from the first four
// bytes of that sub-block, without what follows them; a shorter one is
// dropped.
TEST(PictureRead, AGifControlExtensionGoesOnOnlyInItsOneForm) {
    const Bytes head = gifHead(), &frame = kGifFrame;
    // After the empty sub-block, a 23000 x 23000 frame inside a sub-block.
    const Bytes bigFrame{0x2C, 0, 0, 0, 0, 0xD8, 0x59, 0xD8, 0x59, 0, 2, 2, 0x44, 0x01, 0};
    const Bytes empty =
        joined(joined(joined(head, {0x21, 0xF9, 0, 15}), bigFrame), joined({0}, frame));
    EXPECT_EQ(copyOf(empty), joined(head, frame));
    const Bytes longer{0x21, 0xF9, 4, 1, 10, 0, 0, 2, 'a', 'b', 0};
    const Bytes rebuilt = joined(joined(head, {0x21, 0xF9, 4, 1, 10, 0, 0, 0}), frame);
    EXPECT_EQ(copyOf(joined(joined(head, longer), frame)), rebuilt);
    EXPECT_EQ(copyOf(joined(joined(head, {0x21, 0xF9, 5, 1, 10, 0, 0, 9, 0}), frame)), rebuilt);
    EXPECT_EQ(copyOf(joined(joined(head, {0x21, 0xF9, 3, 1, 10, 0, 0}), frame)),
              joined(head, frame));
}

namespace {

// A progressive 8 x 8 JPEG's frame, then `scans` empty scans, made as read.
PictureBytes emptyScans(uint64_t scans, uint64_t& bytesRead) {
    const Bytes head{0xFF, 0xD8, 0xFF, 0xC2, 0, 11, 8, 0, 8, 0, 8, 1, 1, 0x11, 0};
    const Bytes scan{0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 0, 0};
    const uint64_t size = head.size() + scans * scan.size();
    return [=, &bytesRead](uint64_t offset, uint8_t* out, size_t n) -> size_t {
        size_t got = 0;
        for (; got < n && offset + got < size; ++got) {
            const uint64_t at = offset + got;
            out[got] = at < head.size() ? head[at] : scan[(at - head.size()) % scan.size()];
        }
        bytesRead += got;
        return got;
    };
}

}  // namespace

// A JPEG is refused at its first scan too many, whatever follows; restart
// intervals and tables count against one bound, and segments passed over
// against another.
TEST(PictureRead, JpegCostsAreCountedAsMet) {
    uint64_t bytesRead = 0;
    EXPECT_EQ(readPictureHeader(emptyScans(1000000, bytesRead)).verdict, Verdict::TooManyScans);
    EXPECT_LT(bytesRead, 2 * PictureStream::kBuffer);

    const Bytes jpeg = encoded("jpeg");
    auto repeated = [&](const Bytes& segment, uint64_t times) {
        Bytes b = slice(jpeg, 0, 2);
        for (uint64_t i = 0; i < times; ++i) b = joined(b, segment);
        return joined(b, slice(jpeg, 2, jpeg.size()));
    };
    const Bytes restart{0xFF, 0xDD, 0, 4, 0, 1};
    EXPECT_EQ(readPictureHeader(repeated(restart, 100)).verdict, Verdict::Fits);
    EXPECT_EQ(readPictureHeader(repeated(restart, kMaxJpegTableBytes / 6)).verdict,
              Verdict::Padded);
    const Bytes comment{0xFF, 0xFE, 0, 2};
    EXPECT_EQ(readPictureHeader(repeated(comment, 1000)).verdict, Verdict::Fits);
    EXPECT_EQ(readPictureHeader(repeated(comment, kMaxSkippedParts + 1)).verdict, Verdict::Padded);
}

// Of several JFIF and Adobe segments, the last of each before the first
// scan goes on, at its fixed size (the JFIF's thumbnail dropped), just
// before that scan.
TEST_F(PictureCopy, JpegKeepsTheLastJfifAndAdobeSegmentsCut) {
    const Bytes jpeg = encoded("jpeg");
    const size_t afterApp0 = 4 + ((jpeg[4] << 8) | jpeg[5]);
    Bytes jfif{0xFF, 0xE0, 0, 22, 'J', 'F', 'I', 'F', 0, 1, 2, 1, 0, 72, 0, 72, 1, 2};
    jfif.resize(2 + 22, 9);  // a 1 x 2 thumbnail
    const Bytes adobe{0xFF, 0xEE, 0, 15, 'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, 2, 7};
    const Bytes lastAdobe{0xFF, 0xEE, 0, 14, 'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, 1};
    Bytes first = jfif;
    first[13] = 1;
    Bytes file = joined(joined(joined(slice(jpeg, 0, afterApp0), first), adobe), jfif);
    file = joined(joined(file, lastAdobe), slice(jpeg, afterApp0, jpeg.size()));
    const Bytes copy = copyOf(file);
    const Bytes lastJfif{0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 2, 1, 0, 72, 0, 72, 0, 0};
    const size_t scan = find(copy, {0xFF, 0xDA});
    EXPECT_EQ(find(copy, joined(lastJfif, lastAdobe)) + 34, scan);
    EXPECT_EQ(find(copy, {0xFF, 0xE0}), scan - 34) << "one JFIF segment";
    EXPECT_EQ(find(copy, {0xFF, 0xEE}), scan - 16) << "one Adobe segment";
    EXPECT_EQ(pixelsOf(loadPictureFile(write(dir_ / "a.jpg", file), 0)),
              pixelsOf(loadPictureFile(write(dir_ / "plain.jpg", jpeg), 0)));
}

// Rows 2 GB after the header, held as a hole: passed over unread, the
// header handed on with the rows following it. What follows the rows is not
// read, whatever its size.
TEST_F(PictureCopy, BmpRowsAreMovedUpOverTheGap) {
    Bytes head = bmp(kRed);
    const Bytes rows(head.begin() + 54, head.end());
    head.resize(54);
    const uint64_t gap = uint64_t{2} << 30;
    setLE(head, 10, static_cast<uint32_t>(54 + gap), 4);
    const std::string file = sparse(dir_ / "gap.bmp", head, gap, rows);
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    EXPECT_EQ(copyOf(fileBytes(fd.get())), bmp(kRed));

    Verdict verdict{};
    const Bytes trailed = copyOf(joined(bmp(kRed), Bytes(kMaxStrayBytes + 64, 0)), &verdict);
    EXPECT_EQ(verdict, Verdict::Fits);
    EXPECT_LT(trailed.size(), bmp(kRed).size() + 64);
}

// A file that holds less than fstat said when its reading began (cut by
// another process meanwhile) is a failed read, not a shorter picture.
TEST_F(PictureCopy, AReadShortOfTheFileSizeIsAnError) {
    const std::string file = write(dir_ / "p.bmp", bmp(kRed));
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    const PictureBytes bytes = fileBytes(fd.get());
    ASSERT_EQ(::truncate(file.c_str(), 40), 0);
    uint8_t b[64];
    EXPECT_EQ(bytes(0, b, sizeof b), kPictureReadError);
    EXPECT_EQ(bytes(100, b, sizeof b), 0u) << "past the end";
    EXPECT_EQ(readPicture(bytes, [](const uint8_t*, size_t) { return true; }).verdict,
              Verdict::Broken);
}

// An ICO goes on rebuilt around the one entry its loader decodes: the
// largest by the directory's sizes, the later on a tie, not a PNG entry.
TEST_F(PictureCopy, AnIcoGoesOnWithTheEntryDecodedAlone) {
    const Bytes png = encoded("png");
    const Bytes red = icon(kRed), blue = icon(kBlue);
    Bytes ico{0, 0, 1, 0, 3, 0};
    auto entry = [&](uint8_t side, const Bytes& data, uint32_t at) {
        ico.insert(ico.end(), {side, side, 0, 0, 1, 0, 32, 0});
        putLE(ico, static_cast<uint32_t>(data.size()), 4);
        putLE(ico, at, 4);
    };
    const uint32_t first = 6 + 3 * 16;
    entry(16, png, first);
    entry(1, red, first + static_cast<uint32_t>(png.size()));
    entry(1, blue, first + static_cast<uint32_t>(png.size() + red.size()));
    ico = joined(joined(joined(ico, png), red), blue);

    Bytes alone{0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 1, 0, 32, 0};
    putLE(alone, static_cast<uint32_t>(blue.size()), 4);
    putLE(alone, 22, 4);
    EXPECT_EQ(copyOf(ico), joined(alone, blue));
}

namespace {

// `head`, then `count` times `unit` followed by `gap` zero bytes (a hole in
// a sparse file), then `tail`, made as read.
PictureBytes holes(const Bytes& head, const Bytes& unit, uint64_t count, uint64_t gap,
                   const Bytes& tail) {
    const uint64_t step = unit.size() + gap, body = head.size() + step * count;
    return [=](uint64_t offset, uint8_t* out, size_t n) -> size_t {
        size_t got = 0;
        for (uint64_t at = offset; got < n && at < body + tail.size(); ++got, ++at) {
            const uint64_t in = (at - head.size()) % step;
            out[got] = at < head.size()   ? head[at]
                       : at >= body       ? tail[at - body]
                       : in < unit.size() ? unit[in]
                                          : 0;
        }
        return got;
    };
}

Bytes pngHead(uint32_t side, bool interlaced) {
    Bytes b{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, ihdr;
    putBE(ihdr, side), putBE(ihdr, side);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, static_cast<uint8_t>(interlaced)});
    pngChunk(b, "IHDR", ihdr);
    return b;
}

// A 64 x 64 run-length BMP's headers and palette, its rows to follow.
Bytes rle8Head() {
    Bytes b{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0x36, 4, 0, 0};
    b.insert(b.end(), {40, 0, 0, 0, 64, 0, 0, 0, 64, 0, 0, 0, 1, 0, 8, 0, 1, 0, 0, 0});
    b.resize(14 + 40 + 1024, 0);
    return b;
}

}  // namespace

// The image data kept (a JPEG's scans, a PNG's IDAT contents, a BMP's
// run-length rows) is bounded for the whole picture at twice its pixels and
// 1 MB, however it is split: zero bytes held as holes cost nothing on disk,
// tiny chunks' framing counts for nothing, an interlaced PNG's copy holds
// its data alone, and run-length rows end where the loader stops reading.
TEST_F(PictureCopy, ImageDataIsBoundedForTheWholePicture) {
    const Bytes sof{0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 4, 0, 4, 0, 1, 1, 0x11, 0};  // 1024 x 1024
    const Bytes sos{0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 63, 0}, eoi{0xFF, 0xD9}, iend{0, 0, 0, 0};
    Bytes idat1, end, bigIdat = pngHead(8192, true);
    pngChunk(idat1, "IDAT", {0x78});
    pngChunk(end, "IEND", {});
    bigIdat.insert(bigIdat.end(), {0x40, 0, 0, 0, 'I', 'D', 'A', 'T'});
    const uint64_t bound = pictureDataBound(1024, 1024), small = pictureDataBound(64, 64);
    const struct {
        const char* name;
        PictureBytes file;
        Verdict verdict;
        uint64_t mostHanded;
    } cases[] = {
        {"100 scans over 8 MB holes", holes(sof, sos, 100, 8 << 20, eoi), Verdict::TooMuchData,
         bound + 1024},
        {"3 scans of 3 MB", holes(sof, sos, 3, 3000000, eoi), Verdict::Fits, bound + 1024},
        {"4 scans of 3 MB", holes(sof, sos, 4, 3000000, eoi), Verdict::TooMuchData, bound + 1024},
        {"8192 x 8192 PNG, a 1 GB IDAT", holes(bigIdat, {}, 1, 1 << 30, joined(iend, end)),
         Verdict::TooMuchData, 1024},
        {"1-byte IDATs within", holes(pngHead(64, false), idat1, small / 2, 0, end), Verdict::Fits,
         14 * small},
        {"1-byte IDATs past", holes(pngHead(64, false), idat1, small + 1, 0, end),
         Verdict::TooMuchData, 14 * small},
        {"interlaced 1-byte IDATs", holes(pngHead(64, true), idat1, 100000, 0, end), Verdict::Fits,
         100000 + 1024},
        {"run-length rows of empty deltas past",
         holes(rle8Head(), {0, 2, 0, 0}, small / 4, 0, {0, 1}), Verdict::TooMuchData, small + 2048},
        {"run-length rows ended, 2 MB after", holes(rle8Head(), {0, 0}, 64, 0, Bytes(2 << 20, 9)),
         Verdict::Fits, 1078 + 128},
    };
    for (const auto& c : cases) {
        uint64_t handed = 0;
        const Verdict v = readPicture(c.file, [&](const uint8_t*, size_t n) {
                              handed += n;
                              return true;
                          }).verdict;
        EXPECT_EQ(v, c.verdict) << c.name;
        EXPECT_LE(handed, c.mostHanded) << c.name;
    }
    std::string error;
    EXPECT_FALSE(
        loadPictureFile(sparse(dir_ / "holes.jpg", joined(sof, sos), 10 << 20, eoi), 0, &error));
    EXPECT_NE(error.find("twice its pixels"), std::string::npos) << error;
}
