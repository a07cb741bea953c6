#include "platform/picture_cache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

using namespace platform;

namespace {

constexpr Color kRed = rgb(255, 0, 0), kBlue = rgb(0, 0, 255);
constexpr uid_t kNobody = 65534;

// A 2 x 2 24-bit BMP of one colour: every colour gives a file of the same size.
void writeBmp(const std::string& path, Color c) {
    std::vector<uint8_t> b{'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                           0,   0,   0,  2, 0, 0, 0, 2, 0, 0, 0,  1, 0, 24, 0};
    b.resize(54, 0);
    for (int row = 0; row < 2; ++row) {
        for (int x = 0; x < 2; ++x)
            b.insert(b.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                               static_cast<uint8_t>(c)});
        b.insert(b.end(), {0, 0});  // rows are padded to four bytes
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc)  // same file, rewritten in place
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

// A file changed in the kernel clock's current tick is not kept; tests wait
// for the tick to pass so that the load they check is kept.
void waitPastChange(const std::string& path) {
    const timespec changed = statOf(path).st_ctim;
    for (int i = 0; i < 5000; ++i) {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
        if (now.tv_sec > changed.tv_sec ||
            (now.tv_sec == changed.tv_sec && now.tv_nsec > changed.tv_nsec))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Loads a kept picture, makes the file unreadable and loads it again: "" when
// the second load is refused, else what went wrong.
std::string unreadableIsRefused(const std::string& path) {
    PictureCache cache;
    waitPastChange(path);
    const auto kept = cache.load(path, 0);
    if (!kept || cache.count() != 1) return "the readable picture was not kept";
    if (::chmod(path.c_str(), 0) != 0) return "chmod failed";
    if (cache.load(path, 0)) return "an unreadable file gave a picture";
    return "";
}

}  // namespace

TEST(PictureCache, NoticesAFileRewrittenInPlaceOrMadeUnreadable) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kavrel-cache-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    const std::string path = tmpl + "/p.bmp";
    writeBmp(path, kRed);
    waitPastChange(path);

    PictureCache cache;
    const auto first = cache.load(path, 0);
    ASSERT_TRUE(first && first->at(1, 1) == kRed);
    const auto again = cache.load(path, 0);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->pixels().data(), first->pixels().data()) << "the kept pixels are shared";

    // Rewritten in place with the old modification time: only the change
    // time tells, and the new picture is read.
    const struct stat old = statOf(path);
    writeBmp(path, kBlue);
    const timespec times[2] = {old.st_atim, old.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    const struct stat now = statOf(path);
    ASSERT_EQ(now.st_ino, old.st_ino);
    ASSERT_EQ(now.st_size, old.st_size);
    ASSERT_TRUE(now.st_mtim.tv_sec == old.st_mtim.tv_sec &&
                now.st_mtim.tv_nsec == old.st_mtim.tv_nsec);
    const auto rewritten = cache.load(path, 0);
    ASSERT_TRUE(rewritten);
    EXPECT_EQ(rewritten->at(1, 1), kBlue);
    EXPECT_EQ(first->at(1, 1), kRed) << "a picture given out keeps its pixels";

    // Made unreadable: refused. Root reads any file whatever its mode, so as
    // root the check runs in a child process that has become an ordinary user.
    if (::geteuid() != 0) {
        EXPECT_EQ(unreadableIsRefused(path), "");
    } else {
        ASSERT_EQ(::chown(tmpl.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
        EXPECT_EXIT(
            {
                if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) _exit(2);
                const std::string error = unreadableIsRefused(path);
                if (!error.empty()) {
                    fprintf(stderr, "%s\n", error.c_str());
                    _exit(1);
                }
                _exit(0);
            },
            ::testing::ExitedWithCode(0), "");
    }
    std::filesystem::remove_all(tmpl);
}
