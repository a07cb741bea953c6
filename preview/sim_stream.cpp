#include "preview/sim_stream.h"

namespace kavrel {

void appendRecord(std::string& out, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
    for (int32_t v : {x, y}) {
        const auto u = static_cast<uint32_t>(v);
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(static_cast<char>((u >> shift) & 0xFFu));
    }
    out.push_back(static_cast<char>(r));
    out.push_back(static_cast<char>(g));
    out.push_back(static_cast<char>(b));
}

void markAllUnsent(Frame& sent, int cols, int rows) {
    for (int x = 0; x < cols; ++x)
        for (int y = 0; y < rows; ++y) sent.at(x, y, kUnsentMark) = 1;
}

}  // namespace kavrel
