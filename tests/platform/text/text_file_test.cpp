#include "platform/text/text_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/support/temp_folder.h"
#include "tests/support/text_file_reader.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using kavrel_test::TextFileReader;

class PlatformTextFile : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return dir_ / name; }
    static std::string bytesOf(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void putBytes(const std::string& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    static std::vector<std::string> readAll(const std::string& p) {
        TextFileReader r;
        std::vector<std::string> lines;
        if (!r.open(p)) return lines;
        while (!r.atEnd()) {
            auto line = r.readLine();
            if (!line) break;
            lines.push_back(*line);
        }
        EXPECT_FALSE(r.readLine().has_value());
        return lines;
    }
    size_t entriesInDir() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir_.path()), {}));
    }
    const kavrel_test::TempFolder dir_{"kavrel_text_file"};
};

TEST_F(PlatformTextFile, Cp1252RoundTripsUmlautsAndEuro) {
    const std::string text = "ÄÖÜäöüß€ „quote“ – ‰ Ÿ";
    std::string bytes = utf8ToCp1252(text);
    EXPECT_EQ(bytes.substr(0, 8), "\xC4\xD6\xDC\xE4\xF6\xFC\xDF\x80");
    EXPECT_EQ(cp1252ToUtf8(bytes), text);
}

TEST_F(PlatformTextFile, AllBytesSurviveTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    EXPECT_EQ(cp1252ToUtf8("\x81\x8D"), "\u0081\u008D");
}

TEST_F(PlatformTextFile, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(utf8ToCp1252("a中b"), "a?b");
    EXPECT_EQ(utf8ToCp1252("😀"), "?");
    EXPECT_EQ(utf8ToCp1252("\u0080"), "?");  // a C1 control 1252 has no byte for
}

// What a save writes for bytes that are no UTF-8: one '?' for each longest
// start of a valid sequence, and one for each other byte. Text entry keeps the
// same count.
TEST_F(PlatformTextFile, InvalidUtf8BecomesOneQuestionMarkPerBrokenSequence) {
    struct Case {
        const char* utf8;
        const char* cp1252;
    };
    for (const Case& c : {
             Case{"x\xFFy", "x?y"},
             Case{"\x80", "?"},                  // a lone continuation byte
             Case{"\xBF\x80\xBF", "???"},        // each one on its own
             Case{"\xC0\xAF", "??"},             // overlong '/'
             Case{"\xC1\xBF", "??"},             // overlong
             Case{"\xC2", "?"},                  // cut off at the end
             Case{"\xC2\x41", "?A"},             // cut off by a letter
             Case{"\xC2\xC2\xA9", "?\xA9"},      // cut off by the next sequence
             Case{"x\xE4\xB8", "x?"},            // two bytes of three
             Case{"\xE4\xB8\xC3\xA4", "?\xE4"},  // cut off, then a valid one
             Case{"\xE0\xA0\x41", "?A"},
             Case{"\xE0\x80\x80", "???"},            // overlong three-byte form
             Case{"\xED\xA0\x80", "???"},            // a surrogate
             Case{"\xED\x9F\xBF", "?"},              // valid, the last before the surrogates
             Case{"\xF0\x90\x80", "?"},              // three bytes of four
             Case{"\xF0\x80\x80\x80", "????"},       // overlong four-byte form
             Case{"\xF4\x90\x80\x80", "????"},       // past U+10FFFF
             Case{"\xF5\x80", "??"},                 // no lead byte
             Case{"\xF8\x88\x80\x80\x80", "?????"},  // five-byte form
             Case{"\xFE\xFF", "??"},
         }) {
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
        EXPECT_EQ(keepCp1252(c.utf8), cp1252ToUtf8(c.cp1252)) << c.utf8;
    }
    // Through the writer a save uses, as on disk.
    const int fd = ::open(path("bad.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    TextFileWriter w(fd);
    EXPECT_TRUE(w.writeLine("a\xE4\xB8\xC0\xAF\xF0\x90\x80z"));
    EXPECT_TRUE(w.close());
    ::close(fd);
    EXPECT_EQ(bytesOf(path("bad.txt")), "a????z\r\n");
}

TEST_F(PlatformTextFile, WriterPutsCp1252AndCrLfOnDisk) {
    const int fd = ::open(path("a.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    TextFileWriter w(fd);
    EXPECT_TRUE(w.writeLine("Grün €"));
    EXPECT_TRUE(w.writeLine(""));
    EXPECT_TRUE(w.writeLine("中"));
    // Longer than the writer's buffer: written whole, in order.
    const std::string longLine(200 * 1024, 'x');
    EXPECT_TRUE(w.writeLine(longLine));
    EXPECT_TRUE(w.writeLine("end"));
    EXPECT_TRUE(w.close());
    ::close(fd);
    EXPECT_EQ(bytesOf(path("a.txt")), "Gr\xFCn \x80\r\n\r\n?\r\n" + longLine + "\r\nend\r\n");
    EXPECT_EQ(readAll(path("a.txt")),
              (std::vector<std::string>{"Grün €", "", "?", longLine, "end"}));
}

TEST_F(PlatformTextFile, WriterStopsAtItsLimitAndFailsWithoutAFile) {
    const int fd = ::open(path("a.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    TextFileWriter w(fd);
    w.setLimit(10);
    EXPECT_TRUE(
        w.writeLine("\xC3\xA4"
                    "234567"));  // 7 bytes in the file, 9 with CR LF
    EXPECT_FALSE(w.overLimit());
    EXPECT_FALSE(w.writeLine("x"));  // would make 12
    EXPECT_TRUE(w.overLimit());
    EXPECT_FALSE(w.writeLine(""));
    EXPECT_FALSE(w.close());
    ::close(fd);
    EXPECT_LE(bytesOf(path("a.txt")).size(), 10u) << "nothing past the limit";

    // A line of exactly the limit fits.
    const int exactFd = ::open(path("b.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    TextFileWriter exact(exactFd);
    exact.setLimit(5);
    EXPECT_TRUE(exact.writeLine("abc"));
    EXPECT_TRUE(exact.close());
    ::close(exactFd);
    EXPECT_EQ(bytesOf(path("b.txt")), "abc\r\n");

    // A write that fails shows at the latest when the writer is closed.
    TextFileWriter bad(-1);
    bad.writeLine("x");
    EXPECT_FALSE(bad.close());
    EXPECT_FALSE(bad.writeLine("x"));
}

TEST_F(PlatformTextFile, AtomicReplaceWritesTheNewFile) {
    putBytes(path("p.txt"), "old\r\n");
    EXPECT_TRUE(saveTextFile(
        path("p.txt"), [](TextFileWriter& w) { return w.writeLine("neu ä") && w.writeLine("2"); }));
    EXPECT_EQ(bytesOf(path("p.txt")), "neu \xE4\r\n2\r\n");
    EXPECT_TRUE(saveTextFile(path("fresh.txt"), [](TextFileWriter&) { return true; }));
    EXPECT_EQ(bytesOf(path("fresh.txt")), "");
    EXPECT_EQ(entriesInDir(), 2u);  // no temporary left behind
}

TEST_F(PlatformTextFile, AtomicReplaceKeepsTheOldFileWhenWritingFails) {
    putBytes(path("p.txt"), "old\r\n");
    EXPECT_FALSE(saveTextFile(path("p.txt"), [](TextFileWriter& w) {
        w.writeLine("half");
        return false;
    }));
    // A writer closed early and then written to counts as a write error.
    EXPECT_FALSE(saveTextFile(path("p.txt"), [](TextFileWriter& w) {
        w.close();
        w.writeLine("late");
        return true;
    }));
    EXPECT_THROW(saveTextFile(path("p.txt"),
                              [](TextFileWriter&) -> bool { throw std::runtime_error("boom"); }),
                 std::runtime_error);
    EXPECT_EQ(bytesOf(path("p.txt")), "old\r\n");
    EXPECT_EQ(entriesInDir(), 1u);
}

TEST_F(PlatformTextFile, AtomicReplaceFailsWithoutAFolderOrOnAFolder) {
    auto ok = [](TextFileWriter& w) { return w.writeLine("x"); };
    EXPECT_FALSE(saveTextFile(path("missing/p.txt"), ok));
    EXPECT_FALSE(saveTextFile("", ok));
    fs::create_directory(path("sub"));
    EXPECT_FALSE(saveTextFile(path("sub"), ok));
    EXPECT_TRUE(fs::is_directory(path("sub")));
    EXPECT_EQ(entriesInDir(), 1u);
}

TEST_F(PlatformTextFile, AtomicReplaceKeepsReadOnlyFilesAndNeverOpensSpecialOnes) {
    auto ok = [](TextFileWriter& w) { return w.writeLine("new"); };
    // No write bit: kept whoever runs the test, the superuser too.
    putBytes(path("ro.txt"), "old\r\n");
    fs::permissions(path("ro.txt"), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(saveTextFile(path("ro.txt"), ok));
    EXPECT_EQ(bytesOf(path("ro.txt")), "old\r\n");
    // A FIFO with no reader: opening it for writing would block for good.
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0644), 0);
    EXPECT_FALSE(saveTextFile(path("fifo"), ok));
    EXPECT_TRUE(fs::is_fifo(path("fifo")));
    // Through a link too.
    fs::create_symlink("fifo", path("to-fifo"));
    EXPECT_FALSE(saveTextFile(path("to-fifo"), ok));
    EXPECT_EQ(entriesInDir(), 3u);  // no temporary left behind
}

TEST_F(PlatformTextFile, AtomicReplaceWritesThroughLinksAndKeepsPermissions) {
    auto ok = [](TextFileWriter& w) { return w.writeLine("new"); };
    fs::create_directory(path("real"));
    const std::string target = path("real/show.txt");
    putBytes(target, "old\r\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write |
                                fs::perms::group_read);  // 0640, unlike any umask default
    // A chain of two links, one relative and one absolute.
    fs::create_symlink(target, path("abs-link"));
    fs::create_symlink("abs-link", path("link"));
    EXPECT_TRUE(saveTextFile(path("link"), ok));
    EXPECT_TRUE(fs::is_symlink(path("link")));
    EXPECT_TRUE(fs::is_symlink(path("abs-link")));
    EXPECT_EQ(bytesOf(target), "new\r\n");
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(path("real")), {}), 1);
    EXPECT_EQ(entriesInDir(), 3u);
    // A link to a file not there yet makes that file; a loop is refused.
    fs::create_symlink("real/later.txt", path("ahead"));
    EXPECT_TRUE(saveTextFile(path("ahead"), ok));
    EXPECT_EQ(bytesOf(path("real/later.txt")), "new\r\n");
    fs::create_symlink("loop", path("loop"));
    EXPECT_FALSE(saveTextFile(path("loop"), ok));
    EXPECT_TRUE(fs::is_symlink(path("loop")));
}

}  // namespace
}  // namespace platform
