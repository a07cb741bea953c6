// libFuzzer target: a session script's lines, read from a stream and from a
// file descriptor, split into words, and every word through the value
// parsers. Each refuses what it cannot read with its own error and nothing
// else; both line sources give the same lines.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/line_source.h"
#include "cli/script_tokenizer.h"
#include "cli/script_values.h"
#include "platform/files/unique_fd.h"

namespace {

template <typename F>
void refusedOrDone(F&& f) {
    try {
        f();
    } catch (const kavrel::ScriptError&) {
    } catch (const kavrel::ScriptSyntaxError&) {
    }
}

void parseWords(const std::vector<std::string>& words) {
    for (const std::string& w : words) {
        refusedOrDone([&] { (void)kavrel::wholeNumber(w, -32768, 32767, "n"); });
        refusedOrDone([&] { (void)kavrel::decimalNumber(w, "n"); });
        refusedOrDone([&] { (void)kavrel::checkTarget(w); });
        refusedOrDone([&] { kavrel::checkPropertyPath(w); });
        (void)kavrel::parseGrid(w);
        (void)kavrel::parseLocale(w);
        (void)kavrel::quotedText(w);
        (void)kavrel::printableText(w, 80);
        if (!kavrel::valuesMatch(w, w)) abort();
    }
    for (size_t first = 0; first < words.size() && first < 3; ++first) {
        refusedOrDone([&] {
            const kavrel::ExpectedValue e = kavrel::expectedValue(words, first);
            (void)kavrel::valueAllowed(words.front(), e);
            (void)kavrel::expectedText(e);
        });
    }
    if (words.size() >= 2) (void)kavrel::valuesMatch(words[0], words[1]);
    refusedOrDone([&] { kavrel::checkWordCount(words, 1, 3, "WORD [WORD [WORD]]"); });
}

std::vector<std::string> readLines(kavrel::LineSource& source) {
    std::vector<std::string> lines;
    try {
        while (auto line = source.next({})) lines.push_back(std::move(*line));
    } catch (const kavrel::LineSourceError&) {
        lines.push_back("\x01too long");  // both sources must refuse alike
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream stream(text);
    kavrel::StreamLineSource fromStream(stream);
    const std::vector<std::string> lines = readLines(fromStream);

    const platform::UniqueFd fd(memfd_create("script", MFD_CLOEXEC));
    if (!fd) abort();
    if (size > 0 && write(fd.get(), data, size) != static_cast<ssize_t>(size)) abort();
    lseek(fd.get(), 0, SEEK_SET);
    kavrel::FdLineSource fromFd(fd.get());
    const std::vector<std::string> same = readLines(fromFd);
    if (same != lines) abort();

    for (const std::string& line : lines) {
        std::vector<std::string> words;
        refusedOrDone([&] { words = kavrel::tokenizeScriptLine(line); });
        parseWords(words);
    }
    return 0;
}
