// The script's checks and prints: properties, messages, shared-state
// variables, frames, pixels, DMX values, files and snapshots.
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <system_error>

#include "cli/script_runner.h"
#include "cli/script_values.h"
#include "cli/variable_hints.h"
#include "platform/files/file_read.h"
#include "platform/controls/picture_box.h"
#include "platform/pictures/picture_file.h"
#include "platform/windows/window.h"

namespace kavrel {

namespace {
// "TARGET.PROPERTY": a target followed by a property name.
bool isPropertyPath(const std::string& word) {
    return word.find('.') != std::string::npos;
}

char frameLetter(const std::string& word) {
    if (word != "A" && word != "B" && word != "M")
        throw ScriptError("the frame is A, B or M, not " + quotedText(word));
    return word[0];
}

// A value written in hexadecimal, "0xFF" or "&HFF", is compared as text:
// values are read as decimal numbers. Colours are the decimal number of
// 0x00BBGGRR, so a failure shows the number the value meant.
std::string hexNote(const std::string& text) {
    const size_t digits = text.starts_with("0x") || text.starts_with("0X") ||
                                  text.starts_with("&H") || text.starts_with("&h")
                              ? 2
                              : 0;
    uint32_t v = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data() + digits, end, v, 16);
    if (digits == 0 || text.size() == digits || ec != std::errc() || ptr != end) return "";
    return " (values are decimal numbers, colours those of 0x00BBGGRR: " + text + " is " +
           std::to_string(static_cast<int32_t>(v)) + ")";
}

void compare(const std::string& subject, const std::string& found, const ExpectedValue& expected) {
    if (!valueAllowed(found, expected))
        throw ExpectFailure("expect " + subject + ": found " + quotedText(found) + ", expected " +
                            expectedText(expected) +
                            (expected.numeric ? "" : hexNote(expected.text)));
}

// Three words R G B from `first` on, as 0x00BBGGRR.
uint32_t rgbWord(const std::vector<std::string>& w, size_t first) {
    const auto r = wholeNumber(w[first], 0, 255, "R");
    const auto g = wholeNumber(w[first + 1], 0, 255, "G");
    const auto b = wholeNumber(w[first + 2], 0, 255, "B");
    return static_cast<uint32_t>(r | (g << 8) | (b << 16));
}

// Snapshots are PNG files, and their names say so, in any case.
bool hasPngName(const std::string& file) {
    constexpr std::string_view kSuffix = ".png";
    if (file.size() < kSuffix.size()) return false;
    const std::string_view end = std::string_view(file).substr(file.size() - kSuffix.size());
    return std::equal(end.begin(), end.end(), kSuffix.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

std::string rgbWords(uint32_t c) {
    return std::to_string(c & 255) + ' ' + std::to_string((c >> 8) & 255) + ' ' +
           std::to_string((c >> 16) & 255);
}
}  // namespace

void ScriptRunner::doExpect(const Words& w) {
    checkWords(w, 1, 7);
    const std::string& kind = w[1];
    if (isPropertyPath(kind)) {
        checkForm(w, 2, 4, "expect TARGET.PROPERTY");
        checkPropertyPath(kind);
        compare(kind, driver().property(kind), expectedValue(w, 2));
    } else if (kind == "message") {
        // Unquoted words of a message read as a range or as too many words.
        if (w.size() > 3 && !hasRangeForm(w, 2))
            throw ScriptError(std::string(kavrel::badSyntax(formOf(w, "expect message")).what()) +
                              " (quote a text that holds blanks)");
        checkForm(w, 2, 4, "expect message");
        compare("message", desktop().lastMessage(), expectedValue(w, 2));
    } else if (kind == "var") {
        checkForm(w, 3, 5, "expect var");
        compare("var " + w[2], readVar(w[2]), expectedValue(w, 3));
    } else if (kind == "frame") {
        expectFrame(w);
    } else if (kind == "pixel") {
        expectPixel(w);
    } else if (kind == "dmx") {
        checkForm(w, 3, 5, "expect dmx");
        const auto address = wholeNumber(w[2], 1, INT32_MAX, "ADDRESS");
        const ExpectedValue expected = expectedValue(w, 3);
        if (!expected.numeric) wholeNumber(w[3], 0, 255, "VALUE");
        const std::string found = std::to_string(host_.dmx().value(static_cast<int32_t>(address)));
        if (!valueAllowed(found, expected))
            throw ExpectFailure("expect dmx " + w[2] + ": found " + found + ", expected " +
                                (expected.numeric ? expected.text : w[3]));
    } else if (kind == "file") {
        checkForm(w, 2, 2, "expect file");
        // A folder of that name is no file. Looked at as a load reaches it.
        const platform::UniqueFd found(platform::openLongPath(w[2], O_PATH));
        struct stat st {};
        if (!found || ::fstat(found.get(), &st) != 0 || !S_ISREG(st.st_mode))
            throw ExpectFailure("expect file " + quotedText(w[2]) + ": found no such file");
    } else {
        throw badSyntax(w);
    }
}

void ScriptRunner::expectFrame(const Words& w) {
    checkForm(w, 7, 7, "expect frame");
    const char frame = frameLetter(w[2]);
    const auto x = wholeNumber(w[3], 0, INT32_MAX, "X");
    const auto y = wholeNumber(w[4], 0, INT32_MAX, "Y");
    const uint32_t expected = rgbWord(w, 5);
    const orva::HostedPlugin& p = host_.plugin();
    const std::string subject = "expect frame " + w[2] + ' ' + w[3] + ' ' + w[4];
    auto pixel = p.framePixel(frame, static_cast<int>(x), static_cast<int>(y));
    if (!pixel)
        throw ExpectFailure(subject + ": found no light there (the grid is " +
                            std::to_string(p.gridCols()) + 'x' + std::to_string(p.gridRows()) +
                            ')');
    if ((*pixel & 0xFFFFFFu) != expected)
        throw ExpectFailure(subject + ": found " + rgbWords(*pixel) + ", expected " +
                            rgbWords(expected));
}

void ScriptRunner::expectPixel(const Words& w) {
    checkForm(w, 7, 7, "expect pixel");
    checkTarget(w[2]);
    const auto x = wholeNumber(w[3], 0, INT32_MAX, "X");
    const auto y = wholeNumber(w[4], 0, INT32_MAX, "Y");
    const uint32_t expected = rgbWord(w, 5);
    const platform::Surface& surface = surfaceOf(w[2]);
    const std::string subject = "expect pixel " + w[2] + ' ' + w[3] + ' ' + w[4];
    if (!surface.contains(x, y))
        throw ExpectFailure(subject + ": found no pixel there (" + w[2] + " is " +
                            std::to_string(surface.width()) + 'x' +
                            std::to_string(surface.height()) + " pixels)");
    const uint32_t found = surface.at(static_cast<int32_t>(x), static_cast<int32_t>(y));
    if ((found & 0xFFFFFFu) != expected)
        throw ExpectFailure(subject + ": found " + rgbWords(found) + ", expected " +
                            rgbWords(expected));
}

const platform::Surface& ScriptRunner::surfaceOf(const std::string& target) {
    auto d = driver();
    const platform::TargetName t = checkTarget(target);
    if (t.control.empty()) return d.window(t.window).surface();
    auto* box = dynamic_cast<platform::PictureBox*>(&d.control(target));
    if (!box) throw ScriptError(target + " has no pixels (it is no picture box)");
    return box->surface();
}

std::string ScriptRunner::readVar(const std::string& name) {
    auto value = host_.plugin().readVar(name);
    if (!value)
        throw ScriptError(unknownVariableMessage(name, [this](const std::string& other) {
            return host_.plugin().readVar(other).has_value();
        }));
    return *value;
}

void ScriptRunner::doPrint(const Words& w) {
    checkWords(w, 1, 2);
    const std::string& kind = w[1];
    if (isPropertyPath(kind)) {
        checkForm(w, 1, 1, "print TARGET.PROPERTY");
        checkPropertyPath(kind);
        out_ << printableText(driver().property(kind)) << '\n';
    } else if (kind == "var") {
        checkForm(w, 2, 2, "print var");
        out_ << printableText(readVar(w[2])) << '\n';
    } else if (kind == "frame") {
        printFrame(w);
    } else if (kind == "dmx") {
        checkForm(w, 1, 1, "print dmx");
        for (const auto& [address, value] : host_.dmx().nonZero())
            out_ << address << ' ' << static_cast<int>(value) << '\n';
    } else {
        throw badSyntax(w);
    }
}

void ScriptRunner::printFrame(const Words& w) {
    checkForm(w, 2, 2, "print frame");
    const char frame = frameLetter(w[2]);
    const orva::HostedPlugin& p = host_.plugin();
    const int cols = p.gridCols(), rows = p.gridRows();
    for (int y = 0; y < rows; ++y) {
        std::string line;
        for (int x = 0; x < cols; ++x) {
            auto pixel = p.framePixel(frame, x, y);
            if (!pixel)
                throw ScriptError("frame " + w[2] + " has no light at " + std::to_string(x) + ' ' +
                                  std::to_string(y));
            char hex[8];
            std::snprintf(hex, sizeof hex, "%02X%02X%02X", *pixel & 255u, (*pixel >> 8) & 255u,
                          (*pixel >> 16) & 255u);
            if (x) line += ' ';
            line += hex;
        }
        out_ << line << '\n';
    }
}

void ScriptRunner::doSnapshot(const Words& w) {
    checkWords(w, 2, 2);
    const std::string& file = w[2];
    if (!hasPngName(file))
        throw ScriptError("snapshots are PNG files: " + quotedText(file) + " does not end in .png");
    const platform::Surface& surface = surfaceOf(w[1]);
    if (surface.width() <= 0 || surface.height() <= 0)
        throw ScriptError(w[1] + " has no pixels to write (it is " +
                          std::to_string(surface.width()) + 'x' + std::to_string(surface.height()) +
                          ')');
    // A FIFO, a device, a read-only file, the script or the log is refused as
    // it is found, before anything is opened or made.
    const platform::WriteResult written = platform::writePng(surface, file, protectedFiles());
    if (written) return;
    std::string reason = written.reason();
    if (const std::optional<platform::FileIdentity> inUse = written.fileInUse()) {
        if (inUse == script_)
            reason = "it is the script being run";
        else if (inUse == dmxLog_)
            reason = "it is the DMX log being written";
    }
    throw ScriptError("cannot write " + quotedText(file) + ": " + reason);
}

platform::ProtectedFiles ScriptRunner::protectedFiles() const {
    platform::ProtectedFiles files;
    for (const std::optional<platform::FileIdentity>& file : {script_, dmxLog_})
        if (file) files.push_back(*file);
    return files;
}

}  // namespace kavrel
