// Saving and loading a large project: 256 Paint entries a bank with 50 x 50
// pictures, from the project to the file's bytes in memory and back.
#include <benchmark/benchmark.h>

#include <string>
#include <variant>

#include "banks/project_file.h"
#include "core/kavrel.h"
#include "effects/registry.h"
#include "platform/text/cp1252.h"

namespace {

constexpr int kSide = 50;
constexpr int kEntries = 256;

struct LargeProject {
    kavrel::Kavrel k{kavrel::InstanceOptions{}};
    std::vector<kavrel::EffectRecord> records;
    kavrel::ProjectSource source;

    LargeProject() {
        kavrel::registerEffects(k.effects(), k);
        records.resize(kEntries);
        for (int i = 0; i < kEntries; ++i) {
            kavrel::EffectRecord& e = records[static_cast<size_t>(i)];
            e.type = static_cast<int16_t>(kavrel::EffectType::Paint);
            e.name = "picture " + std::to_string(i);
            e.pixels.assign(kSide, kSide, 0u);
            for (int x = 0; x < kSide; ++x)
                for (int y = 0; y < kSide; ++y)
                    e.pixels.at(x, y) = static_cast<uint32_t>((x * 5 + i) | (y * 5) << 8 | i << 16);
        }
        for (auto& bank : source.banks)
            for (const auto& e : records) {
                bank.entries.push_back(&e);
                bank.ok.push_back(true);
            }
        source.fades.push_back(&fade);
    }
    // The file's bytes, as a save writes them.
    std::string file() {
        std::string out;
        kavrel::writeProject(source, "large.Kavrel", k.effects(), platform::Locale::english(),
                             kSide, kSide, [&out](std::string_view line) {
                                 platform::appendCp1252(out, line);
                                 out += "\r\n";
                                 return true;
                             });
        return out;
    }
    kavrel::FadeRecord fade;
};

void BM_ProjectSave(benchmark::State& state) {
    LargeProject p;
    for (auto _ : state) benchmark::DoNotOptimize(p.file());
}
BENCHMARK(BM_ProjectSave)->Unit(benchmark::kMillisecond);

void BM_ProjectLoad(benchmark::State& state) {
    LargeProject p;
    const std::string bytes = p.file();
    for (auto _ : state) {
        auto result = kavrel::readProject(bytes, p.k.effects(), kSide, kSide);
        if (!std::holds_alternative<kavrel::Project>(result)) state.SkipWithError("not loaded");
        benchmark::DoNotOptimize(result);
    }
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_ProjectLoad)->Unit(benchmark::kMillisecond);

}  // namespace
