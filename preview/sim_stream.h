#pragma once
// The simulator stream: one 11-byte record per light whose colour differs
// from what was last sent (x and y as 32-bit little-endian integers, then
// red, green, blue), column by column, each column top to bottom.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/frame.h"

namespace kavrel {

// The spare component of the sent copy: nonzero marks a light to be sent
// whatever its colour.
constexpr int kUnsentMark = 3;

namespace sim_detail {
// Whether a light differs from its sent copy: red, green and blue compared
// as one word with the copy's whole word, so that an unsent mark in its
// spare byte counts as a difference.
inline bool differs(const uint8_t* now, const uint8_t* sent) {
    uint32_t a, b;
    std::memcpy(&a, now, sizeof a);
    std::memcpy(&b, sent, sizeof b);
    return (a & Frame::kRgbBits) != b;
}
}  // namespace sim_detail

// Hands each changed light to `send(x, y, r, g, b)` and marks it sent when
// that returns true. Stops at the first light that could not be handed
// over (left unmarked) and returns false; true when all went out. Lights
// beyond either frame are left out.
template <class Send>
bool sendChangedLights(const Frame& frameM, Frame& sent, int cols, int rows, Send&& send) {
    cols = std::min({cols, frameM.cols(), sent.cols()});
    rows = std::min({rows, frameM.rows(), sent.rows()});
    if (cols <= 0 || rows <= 0) return true;
    // One pass over both frames' bytes as they lie, row after row, finds the
    // columns that hold a change; only those are walked in record order.
    int lo = cols, hi = -1;
    for (int y = 0; y < rows; ++y) {
        const uint8_t* now = frameM.row(y);
        const uint8_t* was = sent.row(y);
        for (int x = 0; x < cols; ++x)
            if (sim_detail::differs(now + x * Frame::kComponents, was + x * Frame::kComponents)) {
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
    }
    // Both frames hold a row 1: rows >= 1 and their bounds are inclusive.
    const std::ptrdiff_t nowStride = frameM.row(1) - frameM.row(0);
    const std::ptrdiff_t wasStride = sent.row(1) - sent.row(0);
    for (int x = lo; x <= hi; ++x) {
        const uint8_t* now = frameM.row(0) + x * Frame::kComponents;
        uint8_t* was = sent.row(0) + x * Frame::kComponents;
        for (int y = 0; y < rows; ++y, now += nowStride, was += wasStride) {
            if (!sim_detail::differs(now, was)) continue;
            if (!send(int32_t{x}, int32_t{y}, now[0], now[1], now[2])) return false;
            was[0] = now[0];
            was[1] = now[1];
            was[2] = now[2];
            was[kUnsentMark] = 0;
        }
    }
    return true;
}

// Appends one record: x and y as 32-bit little-endian integers, then the
// red, green and blue bytes.
void appendRecord(std::string& out, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b);

// Marks every light as never sent: the next send covers the whole frame,
// black lights included.
void markAllUnsent(Frame& sent, int cols, int rows);

}  // namespace kavrel
