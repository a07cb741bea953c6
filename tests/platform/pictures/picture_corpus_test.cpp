// Every picture of the corpus in tests/platform/pictures/picture-corpus, and two made
// here, loads to the pixels it always gave, or is refused as it always was.
// The results were taken from loadPictureFile as it stood at e129fba, before
// pictures were copied into a sealed file (see the folder's README.md).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/pictures/picture_file.h"
#include "tests/support/picture_bytes.h"
#include "tests/support/temp_folder.h"

using namespace platform;

namespace {

using namespace kavrel_test;

const std::string kCorpus =
    std::string(KAVREL_SOURCE_DIR) + "/tests/platform/pictures/picture-corpus/";

// The colour the Image effect's picture box gives see-through pixels: its
// back colour.
constexpr Color kSeeThrough = rgb(12, 34, 56);

// FNV-1a over the width, the height and every pixel's red, green and blue.
uint64_t pixelHash(const Surface& s) {
    uint64_t h = 0xcbf29ce484222325ull;
    auto add = [&h](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            h ^= (v >> (8 * i)) & 255;
            h *= 0x100000001b3ull;
        }
    };
    add(static_cast<uint32_t>(s.width()), 4);
    add(static_cast<uint32_t>(s.height()), 4);
    for (int32_t y = 0; y < s.height(); ++y)
        for (int32_t x = 0; x < s.width(); ++x) add(s.at(x, y), 3);
    return h;
}

// What a load gives: the size and the pixels' hash, or "refused".
std::string outcome(const std::string& path) {
    const std::optional<Surface> pic = loadPictureFile(path, kSeeThrough);
    if (!pic) return "refused";
    char text[64];
    std::snprintf(text, sizeof text, "%dx%d %016llx", pic->width(), pic->height(),
                  static_cast<unsigned long long>(pixelHash(*pic)));
    return text;
}

Bytes readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeAll(const std::string& path, const Bytes& b) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

uint32_t le32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// The corpus's 24-bit BMP with `gap` bytes between its header and its rows,
// as a colour profile may lie there.
Bytes bmpWithGap(size_t gap) {
    Bytes b = readAll(kCorpus + "bmp-24.bmp");
    const uint32_t rows = le32(b, 10);
    b.insert(b.begin() + rows, gap, 0x5A);
    setLE(b, 2, static_cast<uint32_t>(b.size()), 4);
    setLE(b, 10, rows + static_cast<uint32_t>(gap), 4);
    return b;
}

// 256 x 256 pixels of noise as a PNG of about 200 KB (noise does not
// compress), written by writePng.
Bytes noisePng(const kavrel_test::TempFolder& dir) {
    Surface noise(256, 256);
    uint32_t r = 7;
    for (int32_t y = 0; y < 256; ++y) {
        for (int32_t x = 0; x < 256; ++x) {
            r = r * 1664525u + 1013904223u;
            noise.set(x, y, static_cast<Color>(r >> 8));
        }
    }
    if (!writePng(noise, dir / "noise.png")) return {};
    return readAll(dir / "noise.png");
}

// An icon as converters write one: the noise PNG as a 256 x 256 entry
// stored first, then the corpus's BMP entries of ico-bmp-several.ico.
Bytes icoWithLargePngFirst(const Bytes& png) {
    const Bytes small = readAll(kCorpus + "ico-bmp-several.ico");
    const uint32_t count = small[4] | small[5] << 8;
    Bytes b{0, 0, 1, 0, static_cast<uint8_t>(count + 1), 0};
    Bytes entry{0, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // 256 x 256 at 32 bits
    setLE(entry, 8, static_cast<uint32_t>(png.size()), 4);
    setLE(entry, 12, 6 + 16 * (count + 1), 4);
    b.insert(b.end(), entry.begin(), entry.end());
    for (uint32_t i = 0; i < count; ++i) {
        entry.assign(small.begin() + 6 + 16 * i, small.begin() + 22 + 16 * i);
        setLE(entry, 12, le32(entry, 12) + 16 + static_cast<uint32_t>(png.size()), 4);
        b.insert(b.end(), entry.begin(), entry.end());
    }
    b.insert(b.end(), png.begin(), png.end());
    b.insert(b.end(), small.begin() + 6 + 16 * count, small.end());
    return b;
}

// A PNG written by writePng (IHDR, IDAT chunks, IEND) with its image data
// in chunks of one byte each.
Bytes pngInOneByteChunks(const Bytes& png) {
    Bytes data;
    for (size_t at = 8 + 25; at + 12 <= png.size();) {
        const uint32_t n =
            uint32_t{png[at]} << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        if (std::equal(png.begin() + at + 4, png.begin() + at + 8, "IDAT"))
            data.insert(data.end(), png.begin() + at + 8, png.begin() + at + 8 + n);
        at += 12 + n;
    }
    Bytes b = slice(png, 0, 8 + 25);
    for (const uint8_t byte : data) pngChunk(b, "IDAT", {byte});
    pngChunk(b, "IEND", {});
    return b;
}

// bmp-24-v5-profile.bmp with its colour profile after the rows, where
// editors put it, followed by 100 KB.
Bytes bmpWithProfileAfterRows() {
    const Bytes b = readAll(kCorpus + "bmp-24-v5-profile.bmp");
    const uint32_t header = 14 + 124, rows = le32(b, 10);
    Bytes out = joined(slice(b, 0, header), slice(b, rows, b.size()));
    setLE(out, 14 + 112, static_cast<uint32_t>(out.size() - 14), 4);  // the profile's offset
    out = joined(out, slice(b, header, rows));
    out.resize(out.size() + 100 * 1024, 0x5A);
    setLE(out, 2, static_cast<uint32_t>(out.size()), 4);
    setLE(out, 10, header, 4);
    setLE(out, 14 + 116, static_cast<uint32_t>(out.size() - (b.size() - rows) - header), 4);
    return out;
}

struct Expected {
    const char* file;    // in the corpus, or made/ by the functions above
    const char* result;  // what outcome() gave at e129fba
};

const Expected kCorpusResults[] = {
    {"apng-default-not-animated.png", "21x13 d0ced09a7161cb04"},
    {"apng-first-frame-default.png", "21x13 d0ced09a7161cb04"},
    {"bmp-1.bmp", "21x13 cafd4490a863acac"},
    {"bmp-16-bitfields-565.bmp", "21x13 7bc062b79fd30a14"},
    {"bmp-16.bmp", "21x13 ba7fa970df28e898"},
    {"bmp-24-rows-offset-0-2x2.bmp", "2x2 70d2be0885c2504c"},
    {"bmp-24-rows-offset-in-header-3x3.bmp", "3x3 77a9d9c2dd72c533"},
    {"bmp-24-rows-offset-past-end.bmp", "refused"},
    {"bmp-24-top-down.bmp", "21x13 c34dd2dd007efcbd"},
    {"bmp-24-trailing-2.bmp", "21x13 c34dd2dd007efcbd"},
    {"bmp-24-v5-profile.bmp", "21x13 c34dd2dd007efcbd"},
    {"bmp-24.bmp", "21x13 c34dd2dd007efcbd"},
    {"bmp-32-bitfields.bmp", "21x13 c34dd2dd007efcbd"},
    {"bmp-32-v4-alpha.bmp", "21x13 d0ced09a7161cb04"},
    {"bmp-32.bmp", "21x13 c34dd2dd007efcbd"},
    {"bmp-4.bmp", "21x13 57f6314d5eaf59c9"},
    {"bmp-8-short-palette.bmp", "21x13 80106d5904fb8881"},
    {"bmp-8.bmp", "21x13 3dcf7e435145a894"},
    {"bmp-core-24.bmp", "21x13 c34dd2dd007efcbd"},
    {"bmp-core-8.bmp", "21x13 3dcf7e435145a894"},
    {"bmp-rle4.bmp", "21x13 788bf4ccee6837d9"},
    {"bmp-rle8-delta.bmp", "12x6 3e23ed5acf67a00f"},
    {"bmp-rle8-idle-pairs.bmp", "21x13 021caf957f0322e8"},
    {"bmp-rle8.bmp", "21x13 021caf957f0322e8"},
    {"gif-16-colours.gif", "21x13 57f6314d5eaf59c9"},
    {"gif-2-colours.gif", "21x13 df0df5fdfc06b60f"},
    {"gif-256-colours.gif", "64x64 b0cf344e6e9fba78"},
    {"gif-animated-interlaced-transparent.gif", "21x13 bbdd07637ebecce6"},
    {"gif-animated.gif", "21x13 b84e3a5c9b51e594"},
    {"gif-control-5-bytes.gif", "21x13 c608d79ae404b365"},
    {"gif-frame-offset.gif", "21x13 3455effac3f61114"},
    {"gif-interlaced.gif", "21x19 9e100491fdf67e03"},
    {"gif-local-over-global.gif", "21x13 8b711d209fdad94f"},
    {"gif-local-table.gif", "21x13 8217ff5200185bb8"},
    {"gif-transparent.gif", "21x13 c608d79ae404b365"},
    {"gif-xmp.gif", "21x13 57f6314d5eaf59c9"},
    {"ico-16-at-32-bits-beside-32-at-4-bits.ico", "16x16 4be9e6cbe5f4cf37"},
    {"ico-32-bit-then-4-bit-same-size.ico", "16x16 d5c4a1246f8264e5"},
    {"ico-best-entry-past-end.ico", "refused"},
    {"ico-8-bit-indices-past-palette.ico", "16x16 334673e34a0b333b"},
    {"ico-bmp-1-mask.ico", "16x16 272fe90ea21aa95e"},
    {"ico-bmp-24-mask.ico", "24x24 67dae67700121d91"},
    {"ico-bmp-32-alpha.ico", "32x32 be6107834bd78003"},
    {"ico-bmp-4-mask.ico", "16x16 60537fe1be37d5c6"},
    {"ico-bmp-8-mask.ico", "16x16 1cf5bc702c71bbc6"},
    {"ico-bmp-several.ico", "32x32 be6107834bd78003"},
    {"ico-damaged-entry-largest.ico", "16x16 60537fe1be37d5c6"},
    {"ico-huge-offset-hides-later.ico", "16x16 60537fe1be37d5c6"},
    {"ico-png-first.ico", "32x32 be6107834bd78003"},
    {"ico-png.ico", "refused"},
    {"ico-set-32-bit-group-first.ico", "16x16 1cf5bc702c71bbc6"},
    {"jpeg-arithmetic-progressive.jpg", "48x32 a3acb48001f1f012"},
    {"jpeg-arithmetic.jpg", "48x32 a3acb48001f1f012"},
    {"jpeg-baseline-420.jpg", "48x32 a3acb48001f1f012"},
    {"jpeg-baseline-422-odd-size.jpg", "37x23 a003a0b09d62ee3a"},
    {"jpeg-baseline-444.jpg", "48x32 4ee2ca43de6b9dde"},
    {"jpeg-cmyk.jpg", "48x32 85a73aca76fbe810"},
    {"jpeg-corrupt-scan-bytes-after-end.jpg", "48x32 4e05b428af19de8c"},
    {"jpeg-cut-inside-scan-header.jpg", "refused"},
    {"jpeg-dqt-length-1.jpg", "refused"},
    {"jpeg-exif-comment.jpg", "48x32 a3acb48001f1f012"},
    {"jpeg-fill-bytes.jpg", "48x32 a3acb48001f1f012"},
    {"jpeg-fill-in-scan.jpg", "48x32 a3acb48001f1f012"},
    {"jpeg-grey-progressive.jpg", "48x32 c6b5a04a328f1ceb"},
    {"jpeg-grey.jpg", "48x32 c6b5a04a328f1ceb"},
    {"jpeg-icc-profile.jpg", "48x32 a3acb48001f1f012"},
    {"jpeg-jfif-thumbnail.jpg", "48x32 a3acb48001f1f012"},
    {"jpeg-optimized.jpg", "48x32 a3acb48001f1f012"},
    {"jpeg-progressive-comment-length-0.jpg", "48x32 a3acb48001f1f012"},
    {"jpeg-progressive.jpg", "48x32 a3acb48001f1f012"},
    {"jpeg-reserved-marker-in-scan.jpg", "48x32 c4bd137d306837e8"},
    {"jpeg-reserved-marker-after-comment-after-scan.jpg", "refused"},
    // Crashed the loader at e129fba: the pixels of jpeg-baseline-420.jpg.
    {"jpeg-icc-pieces-around-another-app2.jpg", "48x32 a3acb48001f1f012"},
    {"jpeg-restart-blocks.jpg", "48x32 a3acb48001f1f012"},
    {"jpeg-restart-rows.jpg", "48x32 a3acb48001f1f012"},
    {"jpeg-rgb.jpg", "48x32 411afdaf3b25cffd"},
    {"jpeg-second-soi.jpg", "refused"},
    {"png-chunk-type-not-letters.png", "refused"},
    {"png-chunks.png", "21x13 c34dd2dd007efcbd"},
    {"png-cut-after-first-idat.png", "refused"},
    {"png-grey-1.png", "21x13 dedc21757317f12b"},
    {"png-grey-16.png", "21x13 a7bba2e121b8a27b"},
    {"png-grey-2.png", "21x13 b7651ab1968cc3b8"},
    {"png-grey-4.png", "21x13 c47d6027876de3db"},
    {"png-grey-8-trns.png", "21x13 709a9981fffece0d"},
    {"png-grey-8.png", "21x13 a7bba2e121b8a27b"},
    {"png-grey-alpha-16.png", "21x13 7df293569ef2c01e"},
    {"png-grey-alpha-8.png", "21x13 7df293569ef2c01e"},
    {"png-iccp.png", "21x13 d0ced09a7161cb04"},
    {"png-interlaced-empty-and-1-byte-idat.png", "9x7 f61fc77339d4ada2"},
    {"png-interlaced-grey-1.png", "21x13 dedc21757317f12b"},
    {"png-interlaced-idat-crc-error.png", "refused"},
    {"png-interlaced-palette-4.png", "21x13 c99dc67961f35349"},
    {"png-interlaced-rgb-16.png", "21x13 c34dd2dd007efcbd"},
    {"png-interlaced-rgba-8.png", "21x13 d0ced09a7161cb04"},
    {"png-interlaced-text-between-idat.png", "refused"},
    {"png-interlaced-tiny.png", "3x2 5ef51c7d123ccec5"},
    {"png-no-iend.png", "refused"},
    {"png-palette-1.png", "21x13 78aca1e7242d953d"},
    {"png-palette-2.png", "21x13 9c7c57a09c544575"},
    {"png-palette-4.png", "21x13 c99dc67961f35349"},
    {"png-palette-8-trns.png", "21x13 5834ad932db032b8"},
    {"png-palette-8.png", "21x13 40f7aff5f9010149"},
    {"png-rgb-16.png", "21x13 c34dd2dd007efcbd"},
    {"png-rgb-8-trns.png", "21x13 b969ee1582363c0a"},
    {"png-rgb-8.png", "21x13 c34dd2dd007efcbd"},
    {"png-rgba-16.png", "21x13 d0ced09a7161cb04"},
    {"png-rgba-8.png", "21x13 d0ced09a7161cb04"},
    {"png-short-data.png", "refused"},
    {"png-text-between-idat.png", "refused"},
    {"made/bmp-24-rows-100k-after-header.bmp", "21x13 c34dd2dd007efcbd"},
    {"made/ico-png-256-first.ico", "32x32 be6107834bd78003"},
    {"made/png-256-noise-1-byte-idat.png", "256x256 ebf3f14aad1d6d1c"},
    {"made/bmp-24-v5-profile-after-rows-100k.bmp", "21x13 c34dd2dd007efcbd"},
};

TEST(PictureCorpus, EveryPictureGivesThePixelsItAlwaysGave) {
    const kavrel_test::TempFolder dir("picture-corpus");
    writeAll(dir / "bmp-24-rows-100k-after-header.bmp", bmpWithGap(100 * 1024));
    const Bytes noise = noisePng(dir);
    ASSERT_GT(noise.size(), 150u * 1024);
    writeAll(dir / "ico-png-256-first.ico", icoWithLargePngFirst(noise));
    writeAll(dir / "png-256-noise-1-byte-idat.png", pngInOneByteChunks(noise));
    writeAll(dir / "bmp-24-v5-profile-after-rows-100k.bmp", bmpWithProfileAfterRows());

    std::set<std::string> listed;
    for (const Expected& e : kCorpusResults) {
        const std::string name = e.file;
        listed.insert(name);
        const std::string path = name.starts_with("made/") ? dir / name.substr(5) : kCorpus + name;
        EXPECT_EQ(outcome(path), e.result) << name;
    }
    // Every picture in the folder has its result above.
    for (const auto& file : std::filesystem::directory_iterator(kCorpus)) {
        const std::string name = file.path().filename().string();
        if (name.ends_with(".py") || name.ends_with(".md")) continue;
        EXPECT_TRUE(listed.count(name)) << name << " has no result in the table";
    }
}

}  // namespace
