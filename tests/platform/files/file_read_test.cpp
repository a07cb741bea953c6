#include "platform/files/file_read.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "tests/support/in_child.h"
#include "tests/support/temp_folder.h"

namespace {

std::string reasonFor(const std::string& path) {
    const platform::FileBytes file = platform::readWholeFile(path, 100);
    EXPECT_FALSE(file.content) << path;
    EXPECT_FALSE(file.tooLarge) << path;
    return file.reason;
}

// What up to 512 bytes there are at `fd` start with.
std::string readSome(int fd) {
    char buffer[512];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    return std::string(buffer, static_cast<size_t>(std::max<ssize_t>(n, 0)));
}

}  // namespace

TEST(FileRead, ReadsAFileWholeOrSaysWhyNotInTheSystemsWords) {
    const kavrel_test::TempFolder dir("file-read");
    const std::string file = dir / "a.Kavrel";
    std::ofstream(file, std::ios::binary) << std::string(100, 'x');
    EXPECT_EQ(platform::readWholeFile(file, 100).content, std::string(100, 'x'));
    const platform::FileBytes over = platform::readWholeFile(file, 99);
    EXPECT_FALSE(over.content);
    EXPECT_TRUE(over.tooLarge);

    EXPECT_EQ(reasonFor(dir / "missing"), "No such file or directory");
    EXPECT_EQ(reasonFor(dir.path().string()), "Is a directory");
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(reasonFor(fifo), "it is not a regular file");  // and no wait for a writer
    EXPECT_EQ(reasonFor(file + std::string(1, '\0') + "x"), "Invalid argument");
}

// Each is opened in a new session without a controlling terminal, as a
// service runs: none may become its terminal, and a project is not waited on.
TEST(FileRead, OpensOneWayWithoutTakingATerminalOrWaitingForAProject) {
    const kavrel_test::TempFolder dir("file-read-open");
    std::ofstream(dir / "show.Kavrel") << "project";
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "d");
    std::string longPath = dir.path().string() + '/';  // opened in pieces
    while (longPath.size() <= PATH_MAX) longPath += "d//../";
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(terminal >= 0 && ::grantpt(terminal) == 0 && ::unlockpt(terminal) == 0);
    const std::string pty = ::ptsname(terminal);
    using platform::ReadAs;
    // A path, opened as what, and what was read or why it was not opened.
    const std::tuple<std::string, ReadAs, std::string> cases[] = {
        {dir / "show.Kavrel", ReadAs::RegularFile, "project"},
        {longPath + "show.Kavrel", ReadAs::RegularFile, "project"},
        {fifo, ReadAs::RegularFile, "it is not a regular file"},
        {pty, ReadAs::RegularFile, "it is not a regular file"},
        {pty, ReadAs::Stream, "a terminal"},
        {fifo, ReadAs::Stream, "script"},
        {dir.path().string(), ReadAs::Stream, "Is a directory"},
    };
    std::string expected;
    for (const auto& [path, as, seen] : cases) expected += seen + '\n';
    const std::string opened = kavrel_test::inChild([&] {
        ::alarm(5);  // a wait on a FIFO or a device ends it here
        ::setsid();
        std::string got;
        for (const auto& [path, as, seen] : cases) {
            // The script's FIFO gets a writer; the project's open had none to wait for.
            if (as == ReadAs::Stream && path == fifo &&
                ::write(::open(fifo.c_str(), O_RDWR), "script", 6) != 6)
                got += "no writer ";
            const platform::OpenedForReading o = platform::openForReading(path, as);
            got += !o ? o.reason() : ::isatty(o.fd.get()) ? "a terminal" : readSome(o.fd.get());
            got += ::open("/dev/tty", O_RDWR) < 0 && errno == ENXIO ? "\n" : " took a terminal\n";
        }
        return got;
    });
    ::close(terminal);
    EXPECT_EQ(opened, expected);
}
