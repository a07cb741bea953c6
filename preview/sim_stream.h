#pragma once
// The simulator stream: one 11-byte record per light whose colour differs
// from what was last sent (x and y as 32-bit little-endian integers, then
// red, green, blue), column by column, each column top to bottom.
#include <cstdint>
#include <string>

#include "core/frame.h"

namespace kavrel {

// The spare component of the sent copy: nonzero marks a light to be sent
// whatever its colour.
constexpr int kUnsentMark = 3;

// Hands each changed light to `send(x, y, r, g, b)` and marks it sent when
// that returns true. Stops at the first light that could not be handed
// over (left unmarked) and returns false; true when all went out.
template <class Send>
bool sendChangedLights(const Frame& frameM, Frame& sent, int cols, int rows, Send&& send) {
    for (int x = 0; x < cols; ++x) {
        for (int y = 0; y < rows; ++y) {
            const uint8_t r = frameM.at(x, y, 0), g = frameM.at(x, y, 1), b = frameM.at(x, y, 2);
            if (r == sent.at(x, y, 0) && g == sent.at(x, y, 1) && b == sent.at(x, y, 2) &&
                sent.at(x, y, kUnsentMark) == 0)
                continue;
            if (!send(int32_t{x}, int32_t{y}, r, g, b)) return false;
            sent.at(x, y, 0) = r;
            sent.at(x, y, 1) = g;
            sent.at(x, y, 2) = b;
            sent.at(x, y, kUnsentMark) = 0;
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
