#include "core/project_fields.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "platform/runtime/convert.h"
#include "platform/text/text_file.h"

namespace kavrel {

FieldWriter::FieldWriter(const platform::Locale& locale, int cols, int rows, LineSink sink)
    : locale_(locale), cols_(cols), rows_(rows), sink_(std::move(sink)) {}

void FieldWriter::put(std::string_view line) {
    if (ok_) ok_ = sink_(line);
}

void FieldWriter::text(std::string_view value) {
    const auto breaksLine = [](char c) { return c == '\r' || c == '\n'; };
    if (std::none_of(value.begin(), value.end(), breaksLine)) {
        put(value);
        return;
    }
    std::string line(value);
    std::replace_if(line.begin(), line.end(), breaksLine, ' ');
    put(line);
}

void FieldWriter::whole(int64_t value) {
    put(platform::numberText(value));
}

void FieldWriter::color(uint32_t value) {
    whole(static_cast<int32_t>(value));
}

void FieldWriter::number(double value) {
    put(platform::numberText(value, locale_));
}

void FieldWriter::flag(bool value) {
    // Only German has words of its own: other languages write the English
    // words, which every reader takes.
    const bool german = locale_.language == platform::Locale::Language::German;
    if (german) {
        put(value ? "Wahr" : "Falsch");
    } else {
        put(value ? "True" : "False");
    }
}

void FieldWriter::pair(int64_t first, int64_t second) {
    put(platform::numberText(first) + "," + platform::numberText(second));
}

FieldReader::FieldReader(std::string_view content, int cols, int rows)
    : content_(content), cols_(cols), rows_(rows) {}

bool FieldReader::next(std::string_view& line) {
    if (failed_) return false;
    if (pos_ >= content_.size()) {
        ++lineNo_;
        return fail("the file ends here");
    }
    const size_t end = content_.find('\n', pos_);
    const size_t stop = end == std::string_view::npos ? content_.size() : end;
    line = content_.substr(pos_, stop - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end == std::string_view::npos ? content_.size() : end + 1;
    ++lineNo_;
    return true;
}

size_t FieldReader::room(int64_t count, int64_t linesEach) const {
    if (count <= 0 || linesEach <= 0) return 0;
    const size_t left = (content_.size() - pos_) / static_cast<size_t>(linesEach);
    return std::min(static_cast<size_t>(count), left);
}

bool FieldReader::fail(std::string_view what) {
    if (!failed_) {
        failed_ = true;
        failedLine_ = lineNo_;
        failure_ = std::string(what);
    }
    return false;
}

bool FieldReader::text(std::string& out) {
    std::string_view line;
    if (!next(line)) return false;
    out = platform::cp1252ToUtf8(line);
    return true;
}

bool FieldReader::wholeLine(int64_t min, int64_t max, int64_t& out) {
    std::string_view line;
    if (!next(line)) return false;
    const std::optional<double> v = platform::parseNumber(line);
    if (!v) return fail("not a number");
    const double r = platform::roundHalfEven(*v);
    if (!(r >= static_cast<double>(min) && r <= static_cast<double>(max)))
        return fail("a number out of range");
    out = static_cast<int64_t>(r);
    return true;
}

bool FieldReader::int16(int16_t& out) {
    int64_t v = 0;
    if (!wholeLine(std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max(), v))
        return false;
    out = static_cast<int16_t>(v);
    return true;
}

bool FieldReader::int32(int32_t& out) {
    int64_t v = 0;
    if (!wholeLine(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), v))
        return false;
    out = static_cast<int32_t>(v);
    return true;
}

bool FieldReader::color(uint32_t& out) {
    int32_t v = 0;
    if (!int32(v)) return false;
    out = static_cast<uint32_t>(v);
    return true;
}

bool FieldReader::number(double& out) {
    std::string_view line;
    if (!next(line)) return false;
    const std::optional<double> v = platform::parseNumber(line);
    if (!v) return fail("not a number");
    out = *v;
    return true;
}

bool FieldReader::flag(bool& out) {
    std::string_view line;
    if (!next(line)) return false;
    out = platform::textIsTrue(line);
    return true;
}

namespace {

std::optional<int16_t> part16(std::string_view part) {
    return platform::textToInt16(part);
}

}  // namespace

bool FieldReader::pair(int16_t& first, int16_t& second) {
    std::string_view line;
    if (!next(line)) return false;
    const size_t comma = line.find(',');
    if (comma == std::string_view::npos) return fail("no comma between the two numbers");
    if (line.find(',', comma + 1) != std::string_view::npos) return fail("more than two numbers");
    const auto a = part16(line.substr(0, comma));
    const auto b = part16(line.substr(comma + 1));
    if (!a || !b) return fail("not two whole numbers");
    first = *a;
    second = *b;
    return true;
}

bool FieldReader::pairOptional(int16_t& first, int16_t& second) {
    std::string_view line;
    if (!next(line)) return false;
    const size_t comma = line.find(',');
    if (comma != std::string_view::npos && line.find(',', comma + 1) != std::string_view::npos)
        return fail("more than two numbers");
    const auto a = part16(line.substr(0, comma));
    if (!a) return fail("not a whole number");
    int16_t b = 0;
    if (comma != std::string_view::npos) {
        const auto parsed = part16(line.substr(comma + 1));
        if (!parsed) return fail("not a whole number");
        b = *parsed;
    }
    first = *a;
    second = b;
    return true;
}

}  // namespace kavrel
