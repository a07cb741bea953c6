// libFuzzer target: the picture header check takes any bytes without
// crashing or touching memory it does not own, and what it lets through is
// a size that may be loaded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/picture_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const platform::PictureHeader h = platform::readPictureHeader(std::span(data, size));
    using Verdict = platform::PictureHeader::Verdict;
    if (h.verdict == Verdict::Fits && !platform::pictureSizeAllowed(h.width, h.height)) abort();
    if (h.verdict == Verdict::TooLarge && platform::pictureSizeAllowed(h.width, h.height)) abort();
    return 0;
}
