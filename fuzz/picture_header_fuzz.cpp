// libFuzzer target: the one walk of a picture file, which judges its parts
// and hands on those its decoder needs, takes any bytes without crashing or
// touching memory it does not own. What it hands on is never much more than
// the file (a rebuilt ICO directory and an icon's palette made up to its
// full length, a GIF's trailer and control extension, a JPEG's cut JFIF and
// Adobe segments), walking that again changes neither the verdict nor the
// size, and what it lets through is a size that may be loaded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/picture_readers/picture_header.h"
#include "tests/support/picture_walk.h"

namespace {

using Verdict = platform::PictureHeader::Verdict;

platform::PictureHeader walked(std::span<const uint8_t> file, std::vector<uint8_t>& out) {
    return platform::readPicture(kavrel_test::memoryBytes(file),
                                 [&out](const uint8_t* p, size_t n) {
                                     out.insert(out.end(), p, p + n);
                                     return true;
                                 });
}

void checkSize(const platform::PictureHeader& h) {
    if (h.verdict == Verdict::Fits && !platform::pictureSizeAllowed(h.width, h.height)) abort();
    if (h.verdict == Verdict::TooLarge && platform::pictureSizeAllowed(h.width, h.height)) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> copy;
    const platform::PictureHeader h = walked({data, size}, copy);
    checkSize(h);
    if (copy.size() > size + 64 + 1024) abort();
    if (h.verdict != Verdict::Fits) return 0;
    std::vector<uint8_t> again;
    const platform::PictureHeader h2 = walked(copy, again);
    // A cut-short GIF or JPEG is handed on as far as it goes; once walked,
    // its copy may end differently, but never with another size.
    if (h2.verdict == Verdict::Fits && (h2.width != h.width || h2.height != h.height)) abort();
    if (h2.verdict == Verdict::TooLarge || h2.verdict == Verdict::TooManyScans) abort();
    return 0;
}
