#include "platform/file_read.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/temp_folder.h"

namespace {

std::string reasonFor(const std::string& path) {
    const platform::FileBytes file = platform::readWholeFile(path, 100);
    EXPECT_FALSE(file.content) << path;
    EXPECT_FALSE(file.tooLarge) << path;
    return file.reason;
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

namespace {

struct OpenCase {
    const char* what;
    std::string path;
    platform::ReadAs as;
    bool writer;           // a process writes "script" into the FIFO once it is read
    std::string expected;  // what was read ("a terminal" for one), or why it was not opened
};

// Opens `c.path` in a new session with no controlling terminal, as a service
// runs; what was read or why not, or "took a terminal", or "waited".
std::string openedInNewSession(const OpenCase& c) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(5);  // a wait on a FIFO or a device ends the test here
        if (c.writer && ::fork() == 0) {
            ::close(pipeFds[1]);
            ::alarm(5);
            const int fifo = ::open(c.path.c_str(), O_WRONLY);
            ::_exit(fifo >= 0 && ::write(fifo, "script", 6) == 6 ? 0 : 1);
        }
        std::string out;
        ::setsid();
        const platform::OpenedForReading opened = platform::openForReading(c.path, c.as);
        char buffer[64];
        if (!opened) {
            out = opened.reason();
        } else if (::isatty(opened.fd.get())) {
            out = "a terminal";
        } else {
            const ssize_t n = ::read(opened.fd.get(), buffer, sizeof buffer);
            out.assign(buffer, static_cast<size_t>(std::max<ssize_t>(n, 0)));
        }
        if (::open("/dev/tty", O_RDWR) >= 0 || errno != ENXIO) out = "took a terminal";
        ::_exit(::write(pipeFds[1], out.data(), out.size()) >= 0 ? 0 : 1);
    }
    ::close(pipeFds[1]);
    char buffer[64];
    const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status)) return "waited";
    return std::string(buffer, static_cast<size_t>(std::max<ssize_t>(n, 0)));
}

}  // namespace

TEST(FileRead, OpensOneWayWithoutTakingATerminalOrWaitingForAProject) {
    const kavrel_test::TempFolder dir("file-read-open");
    const std::string project = dir / "show.Kavrel";
    std::ofstream(project) << "project";
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Longer than the system takes at once, so opened in pieces.
    std::string longPath = dir.path().string() + '/';
    std::filesystem::create_directory(dir / "d");
    while (longPath.size() <= PATH_MAX) longPath += "d//../";
    longPath += "show.Kavrel";
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(::grantpt(terminal) | ::unlockpt(terminal), 0);
    const std::string pty = ::ptsname(terminal);
    using platform::ReadAs;
    const OpenCase cases[] = {
        {"a project", project, ReadAs::RegularFile, false, "project"},
        {"a project's path over the limit", longPath, ReadAs::RegularFile, false, "project"},
        {"a FIFO as a project", fifo, ReadAs::RegularFile, false, "it is not a regular file"},
        {"a terminal as a project", pty, ReadAs::RegularFile, false, "it is not a regular file"},
        {"a terminal as a script", pty, ReadAs::Stream, false, "a terminal"},
        {"a FIFO as a script", fifo, ReadAs::Stream, true, "script"},
        {"a folder as a script", dir.path().string(), ReadAs::Stream, false, "Is a directory"},
    };
    for (const OpenCase& c : cases) EXPECT_EQ(openedInNewSession(c), c.expected) << c.what;
    ::close(terminal);
}
