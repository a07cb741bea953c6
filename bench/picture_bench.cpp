// A picture-list switch at 50 x 50 between two 2000 x 2000 pictures (a PNG
// and a JPEG, as photographs come): the list timer's next picture, as the
// bank runs it, with both pictures already seen (kept decoded) and as a first
// load (decoded from the file). And the load of a 2000 x 2000 picture file of
// each format alone.
#include <benchmark/benchmark.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/image_session.h"
#include "effects/image/image_list_play.h"
#include "platform/pictures/picture_cache.h"
#include "platform/pictures/picture_file.h"

namespace {

constexpr int kSide = 2000;

// Gradients with noise, so that the files compress and decode like photographs.
platform::Surface photo(uint32_t seed) {
    platform::Surface pic(kSide, kSide);
    uint32_t r = seed;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            r = r * 1664525u + 1013904223u;
            const int n = static_cast<int>(r >> 28);
            pic.set(x, y,
                    platform::rgb(x * 255 / kSide + n, y * 255 / kSide + n, (x + y) % 200 + n));
        }
    }
    return pic;
}

bool writeJpeg(const std::string& png, const std::string& jpeg) {
    GdkPixbuf* pb = gdk_pixbuf_new_from_file(png.c_str(), nullptr);
    if (pb == nullptr) return false;
    const bool ok = gdk_pixbuf_save(pb, jpeg.c_str(), "jpeg", nullptr, "quality", "90", nullptr);
    g_object_unref(pb);
    return ok;
}

void BM_PictureSwitch(benchmark::State& st) {
    const bool firstLoad = st.range(0) == 1;
    char tmpl[] = "/tmp/kavrel-picture-bench-XXXXXX";
    if (mkdtemp(tmpl) == nullptr) {
        st.SkipWithError("no temporary folder");
        return;
    }
    const std::string dir = tmpl;
    const std::string png = dir + "/one.png", spare = dir + "/spare.png", jpeg = dir + "/two.jpg";
    if (!platform::writePng(photo(1), png) || !platform::writePng(photo(2), spare) ||
        !writeJpeg(spare, jpeg)) {
        st.SkipWithError("pictures not written");
        std::filesystem::remove_all(dir);
        return;
    }
    // A file changed within the last two seconds is not kept yet.
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));

    ImageSession session({png, jpeg});
    session.user().click("MxImageForm.OK");
    platform::Desktop& desktop = session.desktop();
    kavrel::BankContext& bank = session.bankA();
    kavrel::nextListPicture(bank);  // both pictures seen
    kavrel::nextListPicture(bank);
    const platform::PictureCache& cache = desktop.pictureCache();
    if (bank.image().surface().width() != kSide || bank.entry()->imageCount != 2 ||
        cache.count() != 2) {
        st.SkipWithError("the pictures did not load");
        std::filesystem::remove_all(dir);
        return;
    }
    for (auto _ : st) {
        if (firstLoad) {
            st.PauseTiming();
            desktop.pictureCache().clear();
            st.ResumeTiming();
        }
        kavrel::nextListPicture(bank);
        benchmark::DoNotOptimize(bank.state().frame);
    }
    if (bank.image().surface().width() != kSide || cache.count() != (firstLoad ? 1u : 2u))
        st.SkipWithError("a picture did not load");
    st.SetLabel(firstLoad ? "first load" : "already seen");
    std::filesystem::remove_all(dir);
}

using Bytes = std::vector<uint8_t>;

void putLe(Bytes& b, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A 24-bit bottom-up BMP.
Bytes bmpOf(const platform::Surface& pic) {
    const int w = pic.width(), h = pic.height();
    const uint32_t row = (static_cast<uint32_t>(w) * 3 + 3) / 4 * 4;
    Bytes b{'B', 'M'};
    for (uint32_t v : {54 + row * h, 0u, 54u, 40u, uint32_t(w), uint32_t(h)}) putLe(b, v, 4);
    putLe(b, 1, 2);
    putLe(b, 24, 2);
    for (uint32_t v : {0u, row * h, 2835u, 2835u, 0u, 0u}) putLe(b, v, 4);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const platform::Color c = pic.at(x, y);
            b.insert(b.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
        }
        b.resize(b.size() + row - 3 * w, 0);
    }
    return b;
}

// A GIF of 6 x 6 x 6 colours. Its LZW codes stay 9 bits wide: a clear code
// before every 254 pixels keeps the table from growing, as simple encoders
// write it.
Bytes gifOf(const platform::Surface& pic) {
    const int w = pic.width(), h = pic.height();
    Bytes b{'G', 'I', 'F', '8', '9', 'a'};
    putLe(b, w, 2);
    putLe(b, h, 2);
    b.insert(b.end(), {0xF7, 0, 0});  // a global table of 256 colours
    for (int i = 0; i < 256; ++i) {
        const int c = i < 216 ? i : 0;
        b.insert(b.end(), {uint8_t(c / 36 * 51), uint8_t(c / 6 % 6 * 51), uint8_t(c % 6 * 51)});
    }
    b.push_back(0x2C);
    for (int v : {0, 0, w, h}) putLe(b, v, 2);
    b.insert(b.end(), {0, 8});  // no local table; 8-bit codes
    Bytes codes;
    uint32_t bits = 0;
    int held = 0;
    auto put = [&](uint32_t code) {
        bits |= code << held;
        for (held += 9; held >= 8; held -= 8, bits >>= 8) codes.push_back(uint8_t(bits));
    };
    int run = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x, ++run) {
            if (run % 254 == 0) put(256);
            const platform::Color c = pic.at(x, y);
            put((c & 255) / 51 * 36 + (c >> 8 & 255) / 51 * 6 + (c >> 16 & 255) / 51);
        }
    }
    put(257);
    if (held > 0) codes.push_back(uint8_t(bits));
    for (size_t at = 0; at < codes.size(); at += 255) {
        const size_t n = std::min<size_t>(255, codes.size() - at);
        b.push_back(uint8_t(n));
        b.insert(b.end(), codes.begin() + at, codes.begin() + at + n);
    }
    b.insert(b.end(), {0, 0x3B});
    return b;
}

bool writeBytes(const std::string& path, const Bytes& b) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    return static_cast<bool>(out);
}

// The load of one 2000 x 2000 picture file: PNG, JPEG, GIF or BMP by the
// argument.
void BM_PictureLoad(benchmark::State& st) {
    static constexpr const char* kNames[] = {"one.png", "one.jpg", "one.gif", "one.bmp"};
    const int format = static_cast<int>(st.range(0));
    char tmpl[] = "/tmp/kavrel-picture-bench-XXXXXX";
    if (mkdtemp(tmpl) == nullptr) {
        st.SkipWithError("no temporary folder");
        return;
    }
    const std::string dir = tmpl, png = dir + "/one.png", path = dir + "/" + kNames[format];
    const platform::Surface pic = photo(3);
    bool written = static_cast<bool>(platform::writePng(pic, png));
    if (format == 1) written = written && writeJpeg(png, path);
    if (format == 2) written = writeBytes(path, gifOf(pic));
    if (format == 3) written = writeBytes(path, bmpOf(pic));
    if (!written) {
        st.SkipWithError("picture not written");
        std::filesystem::remove_all(dir);
        return;
    }
    for (auto _ : st) {
        std::optional<platform::Surface> loaded = platform::loadPictureFile(path, 0);
        if (!loaded || loaded->width() != kSide) {
            st.SkipWithError("the picture did not load");
            break;
        }
        benchmark::DoNotOptimize(loaded->at(0, 0));
    }
    st.SetLabel(kNames[format] + 4);
    std::filesystem::remove_all(dir);
}

}  // namespace

BENCHMARK(BM_PictureSwitch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureLoad)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
