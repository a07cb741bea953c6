#pragma once
// Picking the names a mistyped name most likely meant, for messages that
// point to the fix.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Up to `most` of `candidates` close to `name`: those equal to it ignoring
// case when there are any, else those within a few edits (letters inserted,
// dropped, changed or swapped; at most max(2, length / 3) and fewer than the
// name's length), nearest first, ties in the candidates' order. A name equal to a
// candidate is not suggested back; repeated candidates count once.
std::vector<std::string> closestNames(std::string_view name,
                                      const std::vector<std::string>& candidates, size_t most = 3);

// " (did you mean A, B or C?)" for the names given, each written as
// `quote` puts it; "" for none.
std::string didYouMean(const std::vector<std::string>& names, bool quote = false);

}  // namespace platform
