#include "preview/sim_stream.h"

namespace kavrel {

void markAllUnsent(Frame& sent, int cols, int rows) {
    for (int x = 0; x < cols; ++x)
        for (int y = 0; y < rows; ++y) sent.at(x, y, kUnsentMark) = 1;
}

}  // namespace kavrel
