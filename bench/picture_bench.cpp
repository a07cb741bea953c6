// A picture-list switch at 50 x 50 between two 2000 x 2000 pictures (a PNG
// and a JPEG, as photographs come): the list timer's next picture, as the
// bank runs it, with both pictures already seen (kept decoded) and as a first
// load (decoded from the file).
#include <benchmark/benchmark.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>

#include "bench/image_session.h"
#include "effects/image/image_list_play.h"
#include "platform/picture_cache.h"
#include "platform/picture_file.h"

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

}  // namespace

BENCHMARK(BM_PictureSwitch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
