// One scroll step of an Image entry at 50 x 50 from a 1000 x 1000 picture:
// the move, the copy into the sampling box, the sampling into the bank frame
// and the mix, as the step timer runs it.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "bench/image_session.h"
#include "effects/image/image_view.h"
#include "platform/pictures/picture_file.h"

namespace {

void BM_ImageScrollStep(benchmark::State& st) {
    const auto direction = static_cast<int>(st.range(0));
    char tmpl[] = "/tmp/kavrel-image-bench-XXXXXX";
    if (mkdtemp(tmpl) == nullptr) {
        st.SkipWithError("no temporary folder");
        return;
    }
    const std::string dir = tmpl;
    const std::string path = dir + "/big.png";
    platform::Surface pic(1000, 1000);
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 1000; ++x)
            pic.set(x, y, platform::rgb(x % 256, y % 256, (x + y) % 256));
    if (!platform::writePng(pic, path)) {
        st.SkipWithError("picture not written");
        return;
    }

    ImageSession session({path});
    session.user().set("MxImageForm.slOffset", "50");
    session.user().click("MxImageForm.richtung(" + std::to_string(direction) + ")");
    session.user().click("MxImageForm.OK");
    kavrel::BankContext& bank = session.bankA();
    if (bank.image().surface().width() != 1000 || bank.entry()->direction != direction) {
        st.SkipWithError("the picture did not load");
        std::filesystem::remove_all(dir);
        return;
    }
    for (auto _ : st) {
        kavrel::scrollImage(bank);
        benchmark::DoNotOptimize(bank.state().frame);
    }
    st.SetLabel(direction == 3 ? "right, wrapping" : "down and right");
    std::filesystem::remove_all(dir);
}

}  // namespace

BENCHMARK(BM_ImageScrollStep)->Arg(3)->Arg(2)->Unit(benchmark::kMicrosecond);
