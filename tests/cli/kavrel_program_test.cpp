#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/kavrel_program.h"
#include "cli/line_source.h"
#include "cli/script_runner.h"
#include "tests/host/fake_plugin.h"
#include "tests/support/temp_folder.h"

using kavrel::parseProgramOptions;
using kavrel::ProgramOptions;
using kavrel::UsageError;
using Args = std::vector<std::string>;

namespace {
// The path of `name` in `dir`, written with `content` first unless that is empty.
std::string fileIn(const kavrel_test::TempFolder& dir, const std::string& name,
                   const std::string& content = {}) {
    const std::string p = dir / name;
    if (!content.empty()) std::ofstream(p) << content;
    return p;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeAll(int fd, const std::string& text) {
    ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

struct Program {
    hosttest::FakeRecord record;
    std::ostringstream out, err;
    int run(const Args& args, int stdinFd = -1, kavrel::Terminals terminals = {}) {
        return kavrel::runProgram(args, hosttest::fakeFactory(record), out, err, stdinFd,
                                  terminals);
    }
};
}  // namespace

TEST(HostProgram, OptionsHaveTheirDefaultsAndTakeTheirValues) {
    const ProgramOptions d = parseProgramOptions({});
    EXPECT_EQ(d.start.gridCols, 12);
    EXPECT_EQ(d.start.gridRows, 12);
    EXPECT_EQ(d.start.clock, platform::ClockMode::Virtual);
    EXPECT_EQ(d.start.locale.decimal, '.');
    EXPECT_EQ(d.script, "");
    const ProgramOptions o =
        parseProgramOptions({"--locale", "de", "--grid", "50x1", "--project", "a.Kavrel",
                             "--realtime", "--dmx-log", "d.log", "--seed", "42", "s.kav"});
    EXPECT_EQ(o.start.locale.decimal, ',');
    EXPECT_EQ(o.start.gridCols, 50);
    EXPECT_EQ(o.start.gridRows, 1);
    EXPECT_EQ(o.projectFile, "a.Kavrel");
    EXPECT_EQ(o.start.clock, platform::ClockMode::Realtime);
    EXPECT_EQ(o.dmxLog, "d.log");
    EXPECT_EQ(o.start.randomSeed, 42u);
    EXPECT_EQ(o.script, "s.kav");
    EXPECT_EQ(parseProgramOptions({"-"}).script, "-");
}

TEST(HostProgram, BadCommandLinesAreUsageErrors) {
    const Args bad[] = {
        {"--grid", "0x5"},   {"--grid", "51x1"},  {"--grid", "12x"},  {"--grid", "x12"},
        {"--grid", "12*12"}, {"--grid", "1x1x1"}, {"--grid", "+3x3"}, {"--grid"},
        {"--locale", "fr"},  {"--seed", "-1"},    {"--seed", "abc"},  {"--dmx-log", ""},
        {"--verbose"},       {"a.kav", "b.kav"},
    };
    for (const Args& args : bad) {
        EXPECT_THROW(parseProgramOptions(args), UsageError) << args[0];
        Program p;
        EXPECT_EQ(p.run(args), kavrel::kExitScriptError) << args[0];
        EXPECT_EQ(p.err.str().rfind("kavrel: ", 0), 0u) << p.err.str();
        EXPECT_TRUE(p.record.calls.empty());
    }
}

TEST(HostProgram, HelpPrintsTheUsageAndAMissingScriptFails) {
    for (const char* flag : {"--help", "-h"}) {
        Program help;
        EXPECT_EQ(help.run({flag}), kavrel::kExitOk) << flag;
        EXPECT_EQ(help.out.str().rfind("usage: kavrel [options] [SCRIPT]\n", 0), 0u) << flag;
        for (const char* page : {"docs/script-language.md", "docs/reference.md"})
            EXPECT_NE(help.out.str().find(page), std::string::npos) << page;
        EXPECT_TRUE(help.record.calls.empty());
    }
    Program version;
    EXPECT_EQ(version.run({"--version"}), kavrel::kExitOk);
    EXPECT_TRUE(
        std::regex_match(version.out.str(), std::regex("kavrel [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.out.str();
    // They stand alone: a word beside them is not ignored.
    for (const Args& args : {Args{"--help", "never.kav"}, Args{"--version", "extra"},
                             Args{"extra", "-h"}, Args{"--grid", "3x3", "--version"}}) {
        Program p;
        EXPECT_EQ(p.run(args), kavrel::kExitScriptError) << args[0];
        EXPECT_EQ(p.out.str(), "");
        EXPECT_TRUE(p.record.calls.empty());
    }
    Program extra;
    extra.run({"--version", "extra"});
    EXPECT_EQ(extra.err.str(),
              "kavrel: --version takes no other argument, not \"extra\"\n"
              "(kavrel --help shows the usage)\n");
    Program missing;
    EXPECT_EQ(missing.run({"/nonexistent/dir/s.kav"}), kavrel::kExitScriptError);
    EXPECT_EQ(missing.err.str(),
              "kavrel: cannot read the script \"/nonexistent/dir/s.kav\": No such file or "
              "directory\n");
    // A folder opens like a file but cannot be read: no silent empty script.
    const kavrel_test::TempFolder dir("kavrel-host");
    Program folder;
    EXPECT_EQ(folder.run({fileIn(dir, "")}), kavrel::kExitScriptError);
    EXPECT_EQ(folder.err.str(),
              "kavrel: cannot read the script \"" + fileIn(dir, "") + "\": Is a directory\n");
    EXPECT_TRUE(folder.record.calls.empty());
}

TEST(HostProgram, DmxLogNamingTheScriptLeavesTheScriptAlone) {
    const kavrel_test::TempFolder dir("kavrel-host");
    const std::string script = fileIn(dir, "s.kav", "open\nwait 200\n");
    Program p;
    EXPECT_EQ(p.run({"--dmx-log", script, script}), kavrel::kExitScriptError);
    EXPECT_NE(p.err.str().find("is the script itself"), std::string::npos) << p.err.str();
    EXPECT_EQ(readFile(script), "open\nwait 200\n");
    EXPECT_TRUE(p.record.calls.empty());
}

TEST(HostProgram, DmxLogOfTheScriptOnStandardInputOrAnotherLinkToItIsRefused) {
    const kavrel_test::TempFolder dir("kavrel-host");
    const std::string text = "open\nwait 200\n";
    const std::string script = fileIn(dir, "s.kav", text);
    const std::string hard = fileIn(dir, "hard.log");
    std::filesystem::create_hard_link(script, hard);
    const std::vector<Args> runs = {{"--dmx-log", script},
                                    {"--dmx-log", script, "-"},
                                    {"--dmx-log", hard, "-"},
                                    {"--dmx-log", hard, script}};
    for (const Args& args : runs) {
        const int in = ::open(script.c_str(), O_RDONLY);
        ASSERT_GE(in, 0);
        Program p;
        EXPECT_EQ(p.run(args, in), kavrel::kExitScriptError) << args[1];
        ::close(in);
        EXPECT_EQ(p.err.str(), "kavrel: the DMX log \"" + args[1] + "\" is the script itself\n");
        EXPECT_EQ(readFile(script), text) << args[1];
        EXPECT_TRUE(p.record.calls.empty()) << args[1];
    }
}

TEST(HostProgram, ASnapshotOverTheScriptIsAScriptErrorWhereverTheScriptComesFrom) {
    const kavrel_test::TempFolder dir("kavrel-host");
    const std::string script = fileIn(dir, "show.png");
    const std::string text = "open\nsnapshot TestForm.pic \"" + script + "\"\n";
    std::ofstream(script) << text;
    const std::string expected =
        "kavrel: line 2: cannot write \"" + script + "\": it is the script being run\n";
    Program named;
    EXPECT_EQ(named.run({script}), kavrel::kExitScriptError);
    EXPECT_EQ(named.err.str(), expected);
    const int in = ::open(script.c_str(), O_RDONLY);
    ASSERT_GE(in, 0);
    Program piped;
    EXPECT_EQ(piped.run({"-"}, in), kavrel::kExitScriptError);
    ::close(in);
    EXPECT_EQ(piped.err.str(), expected);
    EXPECT_EQ(readFile(script), text);
}

TEST(HostProgram, DmxLogHasOneLinePerChangeWithTheLoopsMilliseconds) {
    const kavrel_test::TempFolder dir("kavrel-host");
    const std::string script =
        fileIn(dir, "s.kav", "open\nwait 200\nclick TestForm.check\nclick TestForm.check\n");
    const std::string log = fileIn(dir, "dmx.log");
    Program p;
    EXPECT_EQ(p.run({"--dmx-log", log, script}), kavrel::kExitOk) << p.err.str();
    EXPECT_EQ(readFile(log), "100 1 1\n200 1 2\n200 2 255\n200 2 0\n");
    Program unwritable;
    EXPECT_EQ(unwritable.run({"--dmx-log", "/nonexistent/dir/dmx.log", script}),
              kavrel::kExitScriptError);
}

TEST(HostProgram, ReadsTheScriptFromStandardInput) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    writeAll(fds[1], "open\r\nexpect var ticks 0\r\nexpect TestForm.Caption Wrong");
    ::close(fds[1]);
    Program p;
    EXPECT_EQ(p.run({"-"}, fds[0]), kavrel::kExitExpectFailed);
    ::close(fds[0]);
    // The last line lacked its line end and still ran.
    EXPECT_EQ(p.err.str(),
              "kavrel: line 3: expect TestForm.Caption: found \"Fake\", expected \"Wrong\"\n");
}

// Standard input of `text`, as a pipe the caller closes.
int typedInput(const std::string& text) {
    int fds[2];
    if (::pipe(fds) != 0) return -1;
    writeAll(fds[1], text);
    ::close(fds[1]);
    return fds[0];
}

TEST(HostProgram, TypedOnATerminalAFailedLineIsReportedAndTheNextOneRuns) {
    const std::string script =
        "open\n"
        "clik TestForm.go\n"
        "expect TestForm.Caption Wrong\n"
        "set TestForm.text typed\n"
        "expect TestForm.Caption typed\n";
    const int in = typedInput(script);
    Program p;
    EXPECT_EQ(p.run({}, in, {true, true}), kavrel::kExitScriptError);
    ::close(in);
    EXPECT_EQ(p.err.str(),
              "kavrel: line 2: unknown action \"clik\" (did you mean \"click\"?)\n"
              "kavrel: line 3: expect TestForm.Caption: found \"Fake\", expected \"Wrong\"\n");
    // A prompt before each line and at the end of input, then a line end.
    EXPECT_EQ(p.out.str(), "kavrel> kavrel> kavrel> kavrel> kavrel> kavrel> \n");

    // From a pipe or a file, the first failure still ends the script.
    const int piped = typedInput(script);
    Program pipe;
    EXPECT_EQ(pipe.run({"-"}, piped, {false, true}), kavrel::kExitScriptError);
    ::close(piped);
    EXPECT_EQ(pipe.err.str(),
              "kavrel: line 2: unknown action \"clik\" (did you mean \"click\"?)\n");
    EXPECT_EQ(pipe.out.str(), "");
    const kavrel_test::TempFolder dir("kavrel-host");
    Program file;
    EXPECT_EQ(file.run({fileIn(dir, "s.kav", script)}, -1, {true, true}), kavrel::kExitScriptError);
    EXPECT_EQ(file.err.str(), pipe.err.str());
    EXPECT_EQ(file.out.str(), "");
}

TEST(HostProgram, ATypedSessionEndsWithItsWorstFailure) {
    struct Case {
        const char* lines;
        int status;
    };
    for (const Case& c :
         {Case{"expect TestForm.Caption Wrong\nexpect TestForm.Caption Fake\n",
               kavrel::kExitExpectFailed},
          Case{"bogus\nexpect TestForm.Caption Wrong\n", kavrel::kExitScriptError},
          // Lines after quit are not read.
          Case{"expect TestForm.Caption Wrong\nquit\nbogus\n", kavrel::kExitExpectFailed},
          Case{"expect TestForm.Caption Fake\n", kavrel::kExitOk}}) {
        const int in = typedInput(std::string("open\n") + c.lines);
        Program p;
        // Output that is no terminal gets no prompt.
        EXPECT_EQ(p.run({"-"}, in, {true, false}), c.status) << c.lines;
        ::close(in);
        EXPECT_EQ(p.out.str(), "") << c.lines;
        // The plug-in is unloaded as after any session.
        EXPECT_FALSE(p.record.calls.empty());
        EXPECT_EQ(p.record.calls.back(), "Term") << c.lines;
    }
}

TEST(HostProgram, RealtimeTimersKeepFiringWhileWaitingForTypedLines) {
    const kavrel_test::TempFolder dir("kavrel-host");
    const std::string log = fileIn(dir, "dmx.log");
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    writeAll(fds[1], "open\n");
    std::thread typist([w = fds[1]] {
        std::this_thread::sleep_for(std::chrono::milliseconds(350));
        const std::string rest = "quit\n";
        (void)!::write(w, rest.data(), rest.size());
        ::close(w);
    });
    Program p;
    const int status = p.run({"--realtime", "--dmx-log", log}, fds[0]);
    typist.join();
    ::close(fds[0]);
    EXPECT_EQ(status, kavrel::kExitOk) << p.err.str();
    // The 100 ms timer ticked (and sent channel 1) while no line had come.
    EXPECT_NE(readFile(log).find(" 1 1\n"), std::string::npos) << readFile(log);
}

TEST(HostLineSource, JoinsChunksAndDropsCarriageReturns) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    writeAll(fds[1], "first\r\nsec");
    kavrel::FdLineSource lines(fds[0]);
    int idles = 0;
    auto idle = [&] {
        // The second call comes while "sec" waits for the rest of its line.
        if (++idles == 2) {
            writeAll(fds[1], "ond\n\nlast");
            ::close(fds[1]);
        }
        return -1;
    };
    EXPECT_EQ(lines.next(idle), "first");
    EXPECT_EQ(lines.next(idle), "second");
    EXPECT_EQ(idles, 2);
    EXPECT_EQ(lines.next(idle), "");
    EXPECT_EQ(lines.next(idle), "last");  // no line end before the end of input
    EXPECT_EQ(lines.next(idle), std::nullopt);
    EXPECT_EQ(lines.next(idle), std::nullopt);
    ::close(fds[0]);
}

TEST(HostLineSource, AByteOrderMarkAtTheStartOfAFileOrAPipeIsDropped) {
    const std::string bom = "\xEF\xBB\xBF";
    // Only at the very start: on a later line it is text like any other.
    const std::string text = bom + "open\r\n" + bom + "x\n";
    std::istringstream stream(text);
    kavrel::StreamLineSource fromFile(stream);
    EXPECT_EQ(fromFile.next({}), "open");
    EXPECT_EQ(fromFile.next({}), bom + "x");
    const int in = typedInput(text);
    kavrel::FdLineSource fromPipe(in);
    EXPECT_EQ(fromPipe.next({}), "open");
    EXPECT_EQ(fromPipe.next({}), bom + "x");
    ::close(in);
    // A mark alone is an empty line; a part of one is kept.
    std::istringstream alone(bom);
    EXPECT_EQ(kavrel::StreamLineSource(alone).next({}), "");
    std::istringstream part("\xEF\xBBopen");
    EXPECT_EQ(kavrel::StreamLineSource(part).next({}), "\xEF\xBBopen");
}

namespace {
// Endless input without a line end, as /dev/zero gives.
class EndlessBuffer : public std::streambuf {
  protected:
    int_type underflow() override {
        setg(chunk_, chunk_, chunk_ + sizeof chunk_);
        return traits_type::to_int_type(chunk_[0]);
    }

  private:
    char chunk_[4096] = {'a'};
};

std::string fileOfLines(const kavrel_test::TempFolder& dir, const std::string& content) {
    return fileIn(dir, "lines.txt", content);
}
}  // namespace

TEST(HostLineSource, LinesUpToTheLimitPassAndALongerOneIsRefused) {
    const kavrel_test::TempFolder dir("kavrel-host");
    const std::string atLimit(kavrel::kMaxLineBytes, 'x');
    const std::string content = "a\n" + atLimit + "\r\nb\n" + atLimit + "yz\nnever\n";
    const auto noIdle = [] { return -1; };
    {
        const int fd = ::open(fileOfLines(dir, content).c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        kavrel::FdLineSource lines(fd);
        EXPECT_EQ(lines.next(noIdle), "a");
        EXPECT_EQ(lines.next(noIdle), atLimit);
        EXPECT_EQ(lines.next(noIdle), "b");
        EXPECT_THROW(lines.next(noIdle), kavrel::LineSourceError);
        ::close(fd);
    }
    {
        std::istringstream in(content);
        kavrel::StreamLineSource lines(in);
        EXPECT_EQ(lines.next(noIdle), "a");
        EXPECT_EQ(lines.next(noIdle), atLimit);
        EXPECT_EQ(lines.next(noIdle), "b");
        EXPECT_THROW(lines.next(noIdle), kavrel::LineSourceError);
    }
    // Endless input stops at the limit instead of filling memory.
    EndlessBuffer endless;
    std::istream endlessStream(&endless);
    kavrel::StreamLineSource fromStream(endlessStream);
    EXPECT_THROW(fromStream.next(noIdle), kavrel::LineSourceError);
    const int zero = ::open("/dev/zero", O_RDONLY);
    ASSERT_GE(zero, 0);
    kavrel::FdLineSource fromFd(zero);
    EXPECT_THROW(fromFd.next(noIdle), kavrel::LineSourceError);
    ::close(zero);
}

TEST(HostLineSource, ManyLinesInOneReadComeOutInOrder) {
    const kavrel_test::TempFolder dir("kavrel-host");
    std::string content;
    for (int i = 0; i < 20000; ++i) content += std::to_string(i) + (i % 2 ? "\n" : "\r\n");
    const int fd = ::open(fileOfLines(dir, content).c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    kavrel::FdLineSource lines(fd);
    int count = 0;
    while (auto line = lines.next([] { return -1; })) {
        ASSERT_EQ(*line, std::to_string(count));
        ++count;
    }
    EXPECT_EQ(count, 20000);
    ::close(fd);
}

TEST(HostProgram, ALineOverTheLimitIsAScriptErrorNamingIt) {
    const kavrel_test::TempFolder dir("kavrel-host");
    const std::string script =
        fileIn(dir, "s.kav", "open\n#" + std::string(kavrel::kMaxLineBytes, 'a') + "\nquit\n");
    Program p;
    EXPECT_EQ(p.run({script}), kavrel::kExitScriptError);
    EXPECT_EQ(p.err.str(), "kavrel: line 2: the line is longer than 1048576 bytes\n");
    // The plug-in was opened by line 1 and released without more of its code.
    EXPECT_EQ(p.record.calls.back(), "showWindow");
}

TEST(HostProgram, MessagesQuoteWordsWithControlBytesEscapedAndLongWordsCut) {
    const kavrel_test::TempFolder dir("kavrel-host");
    const std::string script =
        fileIn(dir, "s.kav", std::string("open\n\x1b[2Jred\0x\n", 15) + "quit\n");
    Program p;
    EXPECT_EQ(p.run({script}), kavrel::kExitScriptError);
    EXPECT_EQ(p.err.str(), "kavrel: line 2: unknown action \"\\x1b[2Jred\\x00x\"\n");
    Program longWord;
    EXPECT_EQ(longWord.run({fileIn(dir, "l.kav", "open\ncommand " + std::string(5000, 'w'))}),
              kavrel::kExitScriptError);
    EXPECT_EQ(longWord.err.str(),
              "kavrel: line 2: unknown command \"" + std::string(60, 'w') + "...\" (5000 bytes)\n");
    Program badOption;
    EXPECT_EQ(badOption.run({"--grid", "4\tx4"}), kavrel::kExitScriptError);
    EXPECT_NE(badOption.err.str().find("\"4\\tx4\""), std::string::npos) << badOption.err.str();
}

namespace {
// Standard output on a full disk: every write fails.
class FullBuffer : public std::streambuf {
  protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};
}  // namespace

TEST(HostProgram, OutputThatCannotBeWrittenExitsTwo) {
    const kavrel_test::TempFolder dir("kavrel-host");
    const std::string script = fileIn(dir, "s.kav", "open\nprint var ticks\n");
    FullBuffer full;
    std::ostream out(&full);
    hosttest::FakeRecord record;
    std::ostringstream err;
    EXPECT_EQ(kavrel::runProgram({script}, hosttest::fakeFactory(record), out, err, -1),
              kavrel::kExitScriptError);
    EXPECT_EQ(err.str(), "kavrel: cannot write standard output\n");
}

TEST(HostProgram, DmxLogMustBeARegularFileOrANewOne) {
    const kavrel_test::TempFolder dir("kavrel-host");
    const std::string script = fileIn(dir, "s.kav", "open\nwait 100\n");
    const std::string fifo = fileIn(dir, "fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& log : {fifo, std::string("/dev/null"), fileIn(dir, "")}) {
        Program p;
        EXPECT_EQ(p.run({"--dmx-log", log, script}), kavrel::kExitScriptError) << log;
        EXPECT_NE(p.err.str().find("kavrel: "), std::string::npos) << p.err.str();
        EXPECT_TRUE(p.record.calls.empty()) << log;
    }
    // A FIFO with a reader opens, and is still refused.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    Program read;
    EXPECT_EQ(read.run({"--dmx-log", fifo, script}), kavrel::kExitScriptError);
    EXPECT_NE(read.err.str().find("is not a regular file"), std::string::npos) << read.err.str();
    ::close(reader);
    // A read-only file is kept whole, even for the superuser.
    const std::string readOnly = fileIn(dir, "ro.log", "kept\n");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    Program ro;
    EXPECT_EQ(ro.run({"--dmx-log", readOnly, script}), kavrel::kExitScriptError);
    EXPECT_NE(ro.err.str().find("is read-only"), std::string::npos) << ro.err.str();
    EXPECT_EQ(readFile(readOnly), "kept\n");
    // An existing regular file is emptied and written.
    const std::string old = fileIn(dir, "old.log", "stale\n");
    Program p;
    EXPECT_EQ(p.run({"--dmx-log", old, script}), kavrel::kExitOk) << p.err.str();
    EXPECT_EQ(readFile(old), "100 1 1\n");
}
