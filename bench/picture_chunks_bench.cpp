// The first load of a 2000 x 2000 PNG whose data is split into about
// 4,000,000 mostly empty IDAT chunks: its chunks are walked through a
// buffer, not read one by one.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/pictures/picture_file.h"

namespace {

using Bytes = std::vector<uint8_t>;

void chunk(Bytes& b, const char* type, const uint8_t* data, uint32_t n) {
    for (int i = 3; i >= 0; --i) b.push_back(static_cast<uint8_t>(n >> (8 * i)));
    const size_t from = b.size();
    b.insert(b.end(), type, type + 4);
    b.insert(b.end(), data, data + n);
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = from; i < b.size(); ++i) {
        crc ^= b[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    crc = ~crc;
    for (int i = 3; i >= 0; --i) b.push_back(static_cast<uint8_t>(crc >> (8 * i)));
}

void BM_PngOfManyChunks(benchmark::State& st) {
    char tmpl[] = "/tmp/kavrel-chunks-bench-XXXXXX";
    if (mkdtemp(tmpl) == nullptr) return st.SkipWithError("no temporary folder");
    const std::string dir = tmpl, plain = dir + "/plain.png", split = dir + "/split.png";
    platform::Surface pic(2000, 2000);
    for (int y = 0; y < 2000; ++y)
        for (int x = 0; x < 2000; ++x) pic.set(x, y, platform::rgb(x / 8, y / 8, (x ^ y) & 255));
    if (!platform::writePng(pic, plain)) return st.SkipWithError("not written");
    std::ifstream in(plain, std::ios::binary);
    const Bytes png((std::istreambuf_iterator<char>(in)), {});
    // The IDAT data whole, then cut into pieces of 64 bytes, each followed
    // by empty chunks up to about 4,000,000 chunks in all.
    Bytes data, out(png.begin(), png.begin() + 33);
    size_t at = 33;
    while (at + 8 <= png.size()) {
        const uint32_t n = (png[at] << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
        if (std::string(png.begin() + at + 4, png.begin() + at + 8) == "IDAT")
            data.insert(data.end(), png.begin() + at + 8, png.begin() + at + 8 + n);
        at += 12 + n;
    }
    const size_t pieces = (data.size() + 63) / 64, empties = 4000000 / pieces;
    for (size_t p = 0; p < pieces; ++p) {
        const size_t from = p * 64;
        chunk(out, "IDAT", data.data() + from,
              static_cast<uint32_t>(std::min<size_t>(64, data.size() - from)));
        for (size_t e = 0; e < empties; ++e) chunk(out, "IDAT", nullptr, 0);
    }
    chunk(out, "IEND", nullptr, 0);
    std::ofstream(split, std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    for (auto _ : st) {
        const auto shown = platform::loadPictureFile(split, 0);
        if (!shown || shown->width() != 2000) st.SkipWithError("did not load");
    }
    st.counters["chunks"] = static_cast<double>(pieces * (1 + empties));
    std::filesystem::remove_all(dir);
}

}  // namespace

BENCHMARK(BM_PngOfManyChunks)->Unit(benchmark::kMillisecond);
