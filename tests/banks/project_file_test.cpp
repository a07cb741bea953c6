// Reading project files: the rules for each kind of line.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "banks/project_file.h"
#include "core/kavrel.h"
#include "effects/registry.h"
#include "platform/text/text_file.h"
#include "tests/banks/project_test_support.h"

namespace kavrel::testing {
namespace {

class Reader : public ::testing::Test {
  protected:
    Reader() : k_(InstanceOptions{}) { registerEffects(k_.effects(), k_); }

    // A file of one configured entry in bank A (its lines after the type
    // line given), one unconfigured entry in bank B and one fade.
    static std::string oneEntry(const std::string& type, std::initializer_list<std::string> lines,
                                const std::string& tail = "") {
        std::string out =
            crlf({"t", "V1.0", "0.5", "1", "1", "1", "0", "0", "0", "A0", "True", type});
        for (const std::string& l : lines) out += l + "\r\n";
        return out + crlf({"B0", "False", "X0", "3", "", "2.5", "-2147483648"}) + tail;
    }

    Project read(const std::string& bytes, int cols = 12, int rows = 12) {
        auto result = readProject(bytes, k_.effects(), cols, rows);
        if (auto* f = std::get_if<ProjectFailure>(&result)) {
            ADD_FAILURE() << f->message;
            return {};
        }
        return std::get<Project>(std::move(result));
    }
    std::string failure(const std::string& bytes) {
        auto result = readProject(bytes, k_.effects(), 12, 12);
        auto* f = std::get_if<ProjectFailure>(&result);
        return f != nullptr ? f->message : "loaded";
    }

    Kavrel k_;
};

TEST_F(Reader, FluidBeatPartIsOptional) {
    const Project p = read(oneEntry("7", {"w", "1", "2", "3", "4", "7,1"}));
    EXPECT_EQ(p.banks[0].entries[0].direction, 7);
    EXPECT_EQ(p.banks[0].entries[0].beat, 1);
    const Project older = read(oneEntry("7", {"w", "1", "2", "3", "4", "7"}));
    EXPECT_EQ(older.banks[0].entries[0].direction, 7);
    EXPECT_EQ(older.banks[0].entries[0].beat, 0);
    EXPECT_EQ(failure(oneEntry("7", {"w", "1", "2", "3", "4", "7,x"})),
              "Matrix Project not loaded: line 18: not a whole number");
}

TEST_F(Reader, PaintFromALargerGridKeepsTheCellsInsideAndReadsOn) {
    std::vector<std::string> lines{"p", "16,16"};
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y) lines.push_back(std::to_string(x * 100 + y));
    std::string body;
    for (const std::string& l : lines) body += l + "\r\n";
    std::string bytes = oneEntry("2", {});
    bytes.insert(bytes.find("B0\r\n"), body);
    const Project p = read(bytes);
    const Grid2D<uint32_t>& px = p.banks[0].entries[0].pixels;
    EXPECT_EQ(px.cols(), 12);
    EXPECT_EQ(px.rows(), 12);
    EXPECT_EQ(px.at(11, 11), 1111u);
    EXPECT_EQ(px.at(3, 0), 300u);
    EXPECT_EQ(px.at(12, 5), 0u) << "the spare column";
    EXPECT_EQ(p.fades[0].color, 0x80000000u) << "the entries after it load";

    // From a smaller grid the cells outside the saved block are black.
    const Project small = read(oneEntry("2", {"p", "2,1", "5", "6"}));
    EXPECT_EQ(small.banks[0].entries[0].pixels.at(1, 0), 6u);
    EXPECT_EQ(small.banks[0].entries[0].pixels.at(0, 1), 0u);
    EXPECT_EQ(failure(oneEntry("2", {"p", "2;1"})),
              "Matrix Project not loaded: line 14: no comma between the two numbers");
    EXPECT_EQ(failure(oneEntry("2", {"p", "-2,1"})),
              "Matrix Project not loaded: line 14: a negative picture size");
}

TEST_F(Reader, NamesFlagsAndUnknownTypes) {
    // An empty effect name becomes "new effect", an empty fade name stays.
    const Project p = read(oneEntry("0", {"", "255"}));
    EXPECT_EQ(p.banks[0].entries[0].name, "new effect");
    EXPECT_EQ(p.banks[1].entries[0].name, "new effect");
    EXPECT_FALSE(p.banks[1].ok[0]);
    EXPECT_EQ(p.banks[1].entries[0].color1, 0u);
    EXPECT_EQ(p.fades[0].name, "");
    EXPECT_EQ(p.fades[0].time, 2.5);
    // A type outside 0..9 has its type line only, and keeps its code.
    const Project odd = read(oneEntry("12", {}));
    EXPECT_EQ(odd.banks[0].entries[0].type, 12);
    EXPECT_TRUE(odd.banks[0].ok[0]);
    // Wahr is True in any locale; the markers are not compared.
    std::string german = oneEntry("0", {"n", "1"});
    german.replace(german.find("True"), 4, "Wahr");
    german.replace(german.find("A0"), 2, "Q7");
    EXPECT_TRUE(read(german).banks[0].ok[0]);
}

TEST_F(Reader, NumbersRoundHalfToEvenAndTakeEitherSeparator) {
    const Project p = read(oneEntry("6", {"f", "1", "2", "2.5", "3,5"}));
    EXPECT_EQ(p.banks[0].entries[0].speed, 2);
    EXPECT_EQ(p.banks[0].entries[0].level, 4);
    std::string bytes = oneEntry("0", {"c", "1"});
    bytes.replace(bytes.find("0.5"), 3, "5E-05");
    EXPECT_EQ(read(bytes).mixPos, 5e-05);
    bytes.replace(bytes.find("5E-05"), 5, "0,75");
    EXPECT_EQ(read(bytes).mixPos, 0.75);
    EXPECT_EQ(failure(oneEntry("6", {"f", "1", "2", "32768", "1"})),
              "Matrix Project not loaded: line 16: a number out of range");
    EXPECT_EQ(failure(oneEntry("0", {"c", "4294967295"})),
              "Matrix Project not loaded: line 14: a number out of range");
}

TEST_F(Reader, LineEndsTrailingLinesAndCounts) {
    // LF-only files read alike; lines after the last fade are not read.
    std::string bytes = oneEntry("0", {"c", "255"}, "garbage\r\nmore\r\n");
    std::string lf;
    for (char c : bytes)
        if (c != '\r') lf += c;
    EXPECT_EQ(read(lf).banks[0].entries[0].color1, 255u);
    EXPECT_EQ(read(bytes).fades.size(), 1u);
    // No line end after the last line is fine too.
    EXPECT_EQ(read(bytes.substr(0, bytes.find("garbage") - 2)).fades[0].color, 0x80000000u);

    // More than 256 entries load in full.
    std::string many = crlf({"t", "V1.0", "1", "300", "1", "1", "299", "0", "0"});
    for (int i = 0; i < 300; ++i)
        many += crlf({std::string("A").append(std::to_string(i)), "False"});
    many += crlf({"B0", "False", "X0", "0", "f", "3", "255"});
    const Project p = read(many);
    EXPECT_EQ(p.banks[0].entries.size(), 300u);
    EXPECT_EQ(p.banks[0].selected, 299);
    EXPECT_EQ(p.mixPos, 1.0);
}

TEST_F(Reader, CountedArraysGetTheirSpareAndNegativeCountsFail) {
    const Project cc = read(oneEntry("4", {"c", "0", "1", "0", "50", "50", "0"}));
    EXPECT_EQ(cc.banks[0].entries[0].colors.size(), 1u) << "created even for no colours";
    const Project img = read(oneEntry("3", {"i", "0", "0", "0", "50", "0", "30"}));
    EXPECT_TRUE(img.banks[0].entries[0].imageNames.empty());
    EXPECT_EQ(img.banks[0].entries[0].level, 30) << "level right after the count";
    const Project beams =
        read(oneEntry("9", {"b", "1", "0", "2", "-1", "3", "-1", "4", "2", "0", "50", "100", "1"}));
    EXPECT_EQ(beams.banks[0].entries[0].colors, (std::vector<uint32_t>{1, 2, 3, 4, 0}));
    EXPECT_EQ(beams.banks[0].entries[0].colorValues, (std::vector<int32_t>{0, -1, -1, 2, 0}));
    EXPECT_EQ(failure(oneEntry("3", {"i", "0", "0", "0", "50", "-1", "30"})),
              "Matrix Project not loaded: line 18: a negative count");
    EXPECT_EQ(failure(oneEntry("5", {"s", "-3"})),
              "Matrix Project not loaded: line 14: a negative count");
}

TEST(Writer, TextLinesNeverBreakAndUnknownCharactersBecomeQuestionMarks) {
    Kavrel k{InstanceOptions{}};
    registerEffects(k.effects(), k);
    EffectRecord e;
    e.type = 8;
    e.name = "two\r\nlines";
    e.text = "snow \xe2\x98\x83 and \xe2\x82\xac";
    ProjectSource src;
    src.banks[0].entries = {&e};
    src.banks[0].ok = {true};
    std::vector<std::string> lines;
    EXPECT_TRUE(writeProject(src, "t", k.effects(), platform::Locale::english(), 4, 3,
                             [&lines](std::string_view line) {
                                 lines.emplace_back(line);
                                 return true;
                             }));
    EXPECT_EQ(lines[12], "two  lines");
    EXPECT_EQ(lines[17], "snow \xe2\x98\x83 and \xe2\x82\xac");  // the file takes '?' and 0x80
    EXPECT_EQ(platform::utf8ToCp1252(lines[17]), "snow ? and \x80");
    EXPECT_EQ(lines.size(), 9u + 3 + 1 + 11 + 0);
}

}  // namespace
}  // namespace kavrel::testing
