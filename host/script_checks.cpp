// The script's checks and prints: properties, messages, shared-state
// variables, frames, DMX values, files and snapshots.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "host/script_runner.h"
#include "host/script_values.h"

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

void compare(const std::string& subject, const std::string& found, const std::string& expected) {
    if (!valuesMatch(found, expected))
        throw ExpectFailure("expect " + subject + ": found " + quotedText(found) + ", expected " +
                            quotedText(expected));
}

std::string rgbWords(uint32_t c) {
    return std::to_string(c & 255) + ' ' + std::to_string((c >> 8) & 255) + ' ' +
           std::to_string((c >> 16) & 255);
}
}  // namespace

void ScriptRunner::doExpect(const Words& w) {
    const char* usage =
        "expect TARGET.PROPERTY VALUE | expect message TEXT | expect var NAME VALUE | "
        "expect frame A|B|M X Y R G B | expect dmx ADDRESS VALUE | expect file PATH";
    checkWordCount(w, 1, 7, usage);
    const std::string& kind = w[1];
    if (isPropertyPath(kind)) {
        checkWordCount(w, 2, 2, "expect TARGET.PROPERTY VALUE");
        compare(kind, driver().property(kind), w[2]);
    } else if (kind == "message") {
        checkWordCount(w, 2, 2, "expect message TEXT");
        compare("message", desktop().lastMessage(), w[2]);
    } else if (kind == "var") {
        checkWordCount(w, 3, 3, "expect var NAME VALUE");
        auto value = host_.plugin().readVar(w[2]);
        if (!value) throw ScriptError("unknown variable " + quotedText(w[2]));
        compare("var " + w[2], *value, w[3]);
    } else if (kind == "frame") {
        expectFrame(w);
    } else if (kind == "dmx") {
        checkWordCount(w, 3, 3, "expect dmx ADDRESS VALUE");
        const auto address = wholeNumber(w[2], 1, INT32_MAX, "ADDRESS");
        const auto expected = wholeNumber(w[3], 0, 255, "VALUE");
        const int found = host_.dmx().value(static_cast<int32_t>(address));
        if (found != expected)
            throw ExpectFailure("expect dmx " + w[2] + ": found " + std::to_string(found) +
                                ", expected " + std::to_string(expected));
    } else if (kind == "file") {
        checkWordCount(w, 2, 2, "expect file PATH");
        // A folder of that name is no file.
        std::error_code ec;
        if (!std::filesystem::is_regular_file(w[2], ec))
            throw ExpectFailure("expect file " + quotedText(w[2]) + ": found no such file");
    } else {
        throw ScriptError(std::string("bad syntax, expected: ") + usage);
    }
}

void ScriptRunner::expectFrame(const Words& w) {
    checkWordCount(w, 7, 7, "expect frame A|B|M X Y R G B");
    const char frame = frameLetter(w[2]);
    const auto x = wholeNumber(w[3], 0, INT32_MAX, "X");
    const auto y = wholeNumber(w[4], 0, INT32_MAX, "Y");
    const auto r = wholeNumber(w[5], 0, 255, "R");
    const auto g = wholeNumber(w[6], 0, 255, "G");
    const auto b = wholeNumber(w[7], 0, 255, "B");
    const orva::HostedPlugin& p = host_.plugin();
    const std::string subject = "expect frame " + w[2] + ' ' + w[3] + ' ' + w[4];
    auto pixel = p.framePixel(frame, static_cast<int>(x), static_cast<int>(y));
    if (!pixel)
        throw ExpectFailure(subject + ": found no light there (the grid is " +
                            std::to_string(p.gridCols()) + 'x' + std::to_string(p.gridRows()) +
                            ')');
    const uint32_t expected = static_cast<uint32_t>(r | (g << 8) | (b << 16));
    if ((*pixel & 0xFFFFFFu) != expected)
        throw ExpectFailure(subject + ": found " + rgbWords(*pixel) + ", expected " +
                            rgbWords(expected));
}

void ScriptRunner::doPrint(const Words& w) {
    const char* usage = "print TARGET.PROPERTY | print var NAME | print frame A|B|M | print dmx";
    checkWordCount(w, 1, 2, usage);
    const std::string& kind = w[1];
    if (isPropertyPath(kind)) {
        checkWordCount(w, 1, 1, "print TARGET.PROPERTY");
        out_ << driver().property(kind) << '\n';
    } else if (kind == "var") {
        checkWordCount(w, 2, 2, "print var NAME");
        auto value = host_.plugin().readVar(w[2]);
        if (!value) throw ScriptError("unknown variable " + quotedText(w[2]));
        out_ << *value << '\n';
    } else if (kind == "frame") {
        printFrame(w);
    } else if (kind == "dmx") {
        checkWordCount(w, 1, 1, "print dmx");
        for (const auto& [address, value] : host_.dmx().nonZero())
            out_ << address << ' ' << static_cast<int>(value) << '\n';
    } else {
        throw ScriptError(std::string("bad syntax, expected: ") + usage);
    }
}

void ScriptRunner::printFrame(const Words& w) {
    checkWordCount(w, 2, 2, "print frame A|B|M");
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
    checkWordCount(w, 2, 2, "snapshot TARGET FILE.png");
    checkTarget(w[1]);
    if (!driver().snapshot(w[1], w[2])) throw ScriptError("could not write " + quotedText(w[2]));
}

}  // namespace kavrel
