// The header check's walk over a file's parts: PNG chunks that claim more
// bytes than the file holds, the scans of a JPEG, the first frame of a GIF.
#include "platform/picture_readers/picture_header.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/picture_bytes.h"
#include "tests/support/picture_walk.h"

using namespace platform;
using Verdict = PictureHeader::Verdict;

namespace {

using namespace kavrel_test;

// A chunk's length and type; its data and CRC are left to the caller.
void chunkHead(Bytes& b, uint32_t length, const char* type) {
    putBE(b, length);
    b.insert(b.end(), type, type + 4);
}

void chunk(Bytes& b, const char* type, const Bytes& data) {
    chunkHead(b, static_cast<uint32_t>(data.size()), type);
    b.insert(b.end(), data.begin(), data.end());
    putBE(b, 0);  // the CRC is not looked at
}

// The signature and the IHDR of a 1 x 1 RGB picture: 33 bytes.
Bytes pngStart() {
    Bytes b{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, ihdr;
    putBE(ihdr, 1), putBE(ihdr, 1);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    chunk(b, "IHDR", ihdr);
    return b;
}

// `head`, zeros, and `tail` as its last bytes: a file of `size` bytes, too
// large to write.
PictureBytes hugeFile(const Bytes& head, uint64_t size, const Bytes& tail) {
    return [=](uint64_t offset, uint8_t* out, size_t n) -> size_t {
        const size_t got =
            offset < size ? static_cast<size_t>(std::min<uint64_t>(n, size - offset)) : 0;
        for (size_t i = 0; i < got; ++i) {
            const uint64_t at = offset + i, fromEnd = size - at;
            out[i] = at < head.size()         ? head[at]
                     : fromEnd <= tail.size() ? tail[tail.size() - fromEnd]
                                              : 0;
        }
        return got;
    };
}

}  // namespace

TEST(PictureHeaderPng, AChunkPastTheEndOfTheFileIsACutFile) {
    // 44 bytes whose text or palette chunk declares nearly 2 GB: a decoder
    // would allocate that before finding the file cut.
    for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT"}) {
        Bytes b = pngStart();
        chunkHead(b, 0x7FFFFFF0, type);
        b.insert(b.end(), {'a', 0, 'b'});
        ASSERT_EQ(b.size(), 44u);
        EXPECT_EQ(readPictureHeader(b).verdict, Verdict::Broken) << type;
    }
    // Whole, the same picture fits; what follows IEND is not looked at, and
    // a file that ends between two chunks, before IEND, is cut short.
    Bytes whole = pngStart();
    chunk(whole, "tEXt", {'a', 0, 'b'});
    chunk(whole, "IDAT", {0x78, 0x9C, 0x63, 0, 0, 0, 1, 0, 1});
    const size_t beforeEnd = whole.size();
    chunk(whole, "IEND", {});
    EXPECT_EQ(readPictureHeader(whole).verdict, Verdict::Fits);
    Bytes trailing = whole;
    chunkHead(trailing, 1000, "tEXt");
    EXPECT_EQ(readPictureHeader(trailing).verdict, Verdict::Fits);
    EXPECT_EQ(readPictureHeader(Bytes(whole.begin(), whole.begin() + static_cast<long>(beforeEnd)))
                  .verdict,
              Verdict::Broken);
    // Cut one byte short of a chunk's end, or inside a chunk's length and type.
    for (size_t cut : {whole.size() - 1, beforeEnd + 3, size_t{33} + 5}) {
        EXPECT_EQ(
            readPictureHeader(Bytes(whole.begin(), whole.begin() + static_cast<long>(cut))).verdict,
            Verdict::Broken)
            << cut;
    }
}

TEST(PictureHeaderPng, ChunkLengthsOver31BitsAreRefusedEvenWhenTheFileHoldsThem) {
    Bytes iend;
    chunk(iend, "IEND", {});
    for (const uint32_t length : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        Bytes head = pngStart();
        chunkHead(head, length, "tEXt");
        const uint64_t size = head.size() + uint64_t{length} + 4 + iend.size();  // data, CRC, IEND
        EXPECT_EQ(readPictureHeader(hugeFile(head, size, iend)).verdict,
                  length <= 0x7FFFFFFF ? Verdict::Fits : Verdict::Broken)
            << length;
        EXPECT_EQ(readPictureHeader(hugeFile(head, size - iend.size() - 1, {})).verdict,
                  Verdict::Broken)
            << "one byte short: " << length;
    }
}

namespace {

// A JPEG of `w` x `h` (a progressive frame header) with `scans` scans of
// `components` components each. Each scan's coded data holds what must not
// count as a marker: a stuffed 0xFF 0x00 followed by 0xDA, a restart marker,
// fill bytes.
Bytes jpeg(int scans, uint16_t w = 16, uint16_t h = 16, uint8_t components = 1) {
    Bytes b{0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F'};
    b.insert(b.end(), {0xFF, 0xC2, 0, 11, 8, static_cast<uint8_t>(h >> 8), static_cast<uint8_t>(h),
                       static_cast<uint8_t>(w >> 8), static_cast<uint8_t>(w), 1, 1, 0x11, 0});
    for (int i = 0; i < scans; ++i) {
        const auto length = static_cast<uint8_t>(6 + 2 * components);
        b.insert(b.end(), {0xFF, 0xDA, 0, length, components});
        for (uint8_t c = 0; c < components; ++c)
            b.insert(b.end(), {static_cast<uint8_t>(c + 1), 0});
        b.insert(b.end(), {0, 0, 0});
        b.insert(b.end(), {0x12, 0xFF, 0x00, 0xDA, 0x34, 0xFF, 0xD3, 0x56, 0xFF, 0xFF, 0xD0, 0x78});
    }
    b.insert(b.end(), {0xFF, 0xD9});
    return b;
}

}  // namespace

TEST(PictureHeaderJpeg, ScansOverTheLimitAreRefused) {
    for (const int scans : {1, kMaxJpegScans}) {
        const PictureHeader h = readPictureHeader(jpeg(scans));
        EXPECT_EQ(h.verdict, Verdict::Fits) << scans;
        EXPECT_EQ(h.width, 16);
    }
    for (const int scans : {kMaxJpegScans + 1, 5000}) {
        const PictureHeader h = readPictureHeader(jpeg(scans, 8192, 8192));
        EXPECT_EQ(h.verdict, Verdict::TooManyScans) << scans;
        EXPECT_EQ(h.width, 8192);
    }
    // A scan of three or four components counts three or four times, and a
    // large picture may have fewer: what the scans cost is their count times
    // the pixels. libjpeg's progressive script (14 component scans in
    // colour, 24 in CMYK) loads at the largest size.
    EXPECT_EQ(readPictureHeader(jpeg(kMaxJpegScans / 3, 1024, 1024, 3)).verdict, Verdict::Fits);
    EXPECT_EQ(readPictureHeader(jpeg(kMaxJpegScans / 3 + 1, 1024, 1024, 3)).verdict,
              Verdict::TooManyScans);
    EXPECT_EQ(jpegScansAllowed(8192, 8192), 30);
    EXPECT_EQ(jpegScansAllowed(4096, 8192), 60);
    EXPECT_EQ(readPictureHeader(jpeg(6, 8192, 8192, 4)).verdict, Verdict::Fits);
    EXPECT_EQ(readPictureHeader(jpeg(10, 8192, 8192, 3)).verdict, Verdict::Fits);
    EXPECT_EQ(readPictureHeader(jpeg(11, 8192, 8192, 3)).verdict, Verdict::TooManyScans);
    EXPECT_EQ(readPictureHeader(jpeg(31, 8192, 8192)).verdict, Verdict::TooManyScans);
    // The declared size is judged first.
    EXPECT_EQ(readPictureHeader(jpeg(kMaxJpegScans + 1, 9000, 9000)).verdict, Verdict::TooLarge);
    // Scans after the end of the picture (another picture appended) do not
    // count; a file cut short counts the scans it holds.
    Bytes appended = jpeg(kMaxJpegScans);
    const Bytes more = jpeg(kMaxJpegScans);
    appended.insert(appended.end(), more.begin(), more.end());
    EXPECT_EQ(readPictureHeader(appended).verdict, Verdict::Fits);
    Bytes cut = jpeg(kMaxJpegScans + 1);
    cut.resize(cut.size() - 5);
    EXPECT_EQ(readPictureHeader(cut).verdict, Verdict::TooManyScans);
    cut = jpeg(kMaxJpegScans + 1);
    cut.resize(cut.size() - 30);
    EXPECT_EQ(readPictureHeader(cut).verdict, Verdict::Fits);
}

TEST(PictureHeaderJpeg, AProgressiveJpegFromARealEncoderFits) {
    std::ifstream in(std::string(KAVREL_SOURCE_DIR) + "/fuzz/picture-corpus/progressive.jpg",
                     std::ios::binary);
    const Bytes b(std::istreambuf_iterator<char>(in), {});
    ASSERT_FALSE(b.empty());
    const PictureHeader h = readPictureHeader(b);
    EXPECT_EQ(h.verdict, Verdict::Fits);
    EXPECT_EQ(h.width, 16);
    EXPECT_EQ(h.height, 16);
}
