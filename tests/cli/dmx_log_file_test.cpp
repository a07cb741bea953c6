#include "cli/dmx_log_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <ostream>
#include <string>

#include "cli/kavrel_program.h"
#include "platform/files/unique_fd.h"
#include "tests/support/temp_folder.h"

namespace kavrel {
namespace {

// What openDmxLog said when it refused `path`; "" when it took it.
std::string refusal(const std::string& path) {
    try {
        openDmxLog(path, std::nullopt);
    } catch (const UsageError& e) {
        return e.what();
    }
    return "";
}

// Watches a file for being opened.
class OpenWatch {
  public:
    explicit OpenWatch(const std::string& path) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        EXPECT_TRUE(fd_.valid());
        EXPECT_GE(::inotify_add_watch(fd_.get(), path.c_str(), IN_OPEN), 0) << path;
    }
    bool sawAnOpen() const {
        alignas(inotify_event) char events[4096];
        return ::read(fd_.get(), events, sizeof events) > 0;
    }

  private:
    platform::UniqueFd fd_;
};

TEST(DmxLogFile, AFifoWithAReaderAndAReadOnlyFileAreRefusedWithoutBeingOpened) {
    kavrel_test::TempFolder dir("kavrel-dmx-log");
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const platform::UniqueFd reader(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK));
    ASSERT_TRUE(reader.valid());
    const OpenWatch fifoWatch(fifo);
    EXPECT_EQ(refusal(fifo), "the DMX log \"" + fifo + "\" is not a regular file");
    EXPECT_FALSE(fifoWatch.sawAnOpen()) << "the reader saw the log open";

    // The superuser may open any file: the look before it keeps it whole.
    const std::string readOnly = dir / "ro.log";
    std::ofstream(readOnly) << "kept\n";
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    const OpenWatch fileWatch(readOnly);
    EXPECT_EQ(refusal(readOnly), "the DMX log \"" + readOnly + "\" is read-only");
    EXPECT_FALSE(fileWatch.sawAnOpen());

    // The watch does see an open: a writable log is taken.
    const std::string log = dir / "d.log";
    std::ofstream(log) << "stale\n";
    const OpenWatch logWatch(log);
    EXPECT_EQ(refusal(log), "");
    EXPECT_TRUE(logWatch.sawAnOpen());
}

TEST(DmxLogFile, AFailedOpenOrWriteSaysWhy) {
    kavrel_test::TempFolder dir("kavrel-dmx-log");
    const std::string missing = dir / "nodir/d.log";
    EXPECT_EQ(refusal(missing),
              "cannot write the DMX log \"" + missing + "\": No such file or directory");
    FdWriteBuffer full(platform::UniqueFd(::open("/dev/full", O_WRONLY | O_CLOEXEC)));
    std::ostream out(&full);
    out << "100 1 255\n";
    EXPECT_FALSE(out.flush());
    EXPECT_EQ(full.error(), ENOSPC);
}

TEST(DmxLogFile, AnErrorReportedAtCloseIsKept) {
    const int fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    FdWriteBuffer log{platform::UniqueFd(fd)};
    // Closed behind its back: its own close then fails, as a write the system
    // reports only at close does.
    ::close(fd);
    EXPECT_FALSE(log.close());
    EXPECT_EQ(log.error(), EBADF);
}

}  // namespace
}  // namespace kavrel
