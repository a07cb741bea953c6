#include "platform/text/closest_names.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {
// Names longer than this are compared only ignoring case: the edit distance
// costs the product of both lengths, and a script word may be a megabyte.
constexpr size_t kMaxComparedBytes = 64;

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

// Edits turning `a` into `b`, ignoring case, with two neighbouring letters
// swapped counting as one; anything above `limit` gives limit + 1.
size_t editDistance(std::string_view a, std::string_view b, size_t limit) {
    const size_t n = a.size(), m = b.size();
    if ((n > m ? n - m : m - n) > limit) return limit + 1;
    // Three rows of the table: two back, one back, this one.
    std::vector<size_t> back2(m + 1), back1(m + 1), row(m + 1);
    for (size_t j = 0; j <= m; ++j) back1[j] = j;
    for (size_t i = 1; i <= n; ++i) {
        row[0] = i;
        for (size_t j = 1; j <= m; ++j) {
            const size_t cost = lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1;
            size_t d = std::min({back1[j] + 1, row[j - 1] + 1, back1[j - 1] + cost});
            if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) &&
                lower(a[i - 2]) == lower(b[j - 1]))
                d = std::min(d, back2[j - 2] + 1);
            row[j] = d;
        }
        std::swap(back2, back1);
        std::swap(back1, row);
    }
    return std::min(back1[m], limit + 1);
}
}  // namespace

std::vector<std::string> closestNames(std::string_view name,
                                      const std::vector<std::string>& candidates, size_t most) {
    struct Scored {
        size_t distance;
        size_t order;
    };
    const size_t limit =
        std::min(std::max<size_t>(2, name.size() / 3), name.empty() ? 0 : name.size() - 1);
    const bool compare = name.size() <= kMaxComparedBytes;
    std::vector<Scored> found;
    for (size_t i = 0; i < candidates.size(); ++i) {
        const std::string& c = candidates[i];
        if (c == name) continue;
        size_t d = limit + 1;
        if (equalIgnoringCase(c, name))
            d = 0;
        else if (compare && c.size() <= kMaxComparedBytes)
            d = editDistance(name, c, limit);
        if (d <= limit) found.push_back({d, i});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Scored& a, const Scored& b) { return a.distance < b.distance; });
    std::vector<std::string> out;
    for (const Scored& s : found) {
        // A name that differs only in case is surely the one meant.
        if (out.size() >= most || (s.distance > 0 && found.front().distance == 0)) break;
        const std::string& c = candidates[s.order];
        if (std::find(out.begin(), out.end(), c) == out.end()) out.push_back(c);
    }
    return out;
}

std::string didYouMean(const std::vector<std::string>& names, bool quote) {
    if (names.empty()) return "";
    std::string out = " (did you mean ";
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) out += i + 1 == names.size() ? " or " : ", ";
        out += quote ? '"' + names[i] + '"' : names[i];
    }
    return out + "?)";
}

}  // namespace platform
