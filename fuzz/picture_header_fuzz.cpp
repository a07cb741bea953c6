// libFuzzer target: the copy of a picture's parts that reaches the decoder
// and the header check take any bytes without crashing or touching memory
// they do not own. The copy never holds more than the file, a trailer aside,
// and copying it again changes nothing; what the check lets through is a
// size that may be loaded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "platform/picture_copy.h"
#include "platform/picture_header.h"

namespace {

using Verdict = platform::PictureHeader::Verdict;

std::vector<uint8_t> copied(std::span<const uint8_t> file, Verdict& verdict) {
    std::vector<uint8_t> out;
    verdict = platform::copyPicture(
        [file](uint64_t offset, uint8_t* to, size_t n) -> size_t {
            if (offset >= file.size()) return 0;
            const size_t got = static_cast<size_t>(std::min<uint64_t>(n, file.size() - offset));
            std::memcpy(to, file.data() + offset, got);
            return got;
        },
        [&out](const uint8_t* p, size_t n) {
            out.insert(out.end(), p, p + n);
            return true;
        });
    return out;
}

void checkSize(const platform::PictureHeader& h) {
    if (h.verdict == Verdict::Fits && !platform::pictureSizeAllowed(h.width, h.height)) abort();
    if (h.verdict == Verdict::TooLarge && platform::pictureSizeAllowed(h.width, h.height)) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    checkSize(platform::readPictureHeader(file));
    Verdict verdict{};
    const std::vector<uint8_t> copy = copied(file, verdict);
    if (copy.size() > size + 2) abort();  // a GIF's trailer, a JPEG's marker
    if (verdict != Verdict::Fits) return 0;
    checkSize(platform::readPictureHeader(copy));
    return 0;
}
