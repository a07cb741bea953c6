#include "platform/pictures/picture_cache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/picture_load_hooks.h"
#include "tests/support/temp_folder.h"

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

timespec plus(timespec t, time_t seconds, long nanoseconds = 0) {
    t.tv_sec += seconds;
    t.tv_nsec += nanoseconds;
    if (t.tv_nsec < 0) t.tv_nsec += 1000000000, --t.tv_sec;
    if (t.tv_nsec >= 1000000000) t.tv_nsec -= 1000000000, ++t.tv_sec;
    return t;
}

// A cache whose clock runs ahead of the wall clock, so that files written
// just now count as settled and are kept.
PictureCache::Clock ahead() {
    return [] { return plus(PictureCache::wallClock(), PictureCache::kSettledSeconds + 1); };
}

void setModified(const std::string& path, timespec modified) {
    const timespec times[2] = {{0, UTIME_OMIT}, modified};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// Loads a kept picture, makes the file unreadable and loads it again: "" when
// the second load is refused, else what went wrong.
std::string unreadableIsRefused(const std::string& path) {
    PictureCache cache(PictureCache::kDefaultBudget, ahead());
    const auto kept = cache.load(path, 0);
    if (!kept || cache.count() != 1) return "the readable picture was not kept";
    if (::chmod(path.c_str(), 0) != 0) return "chmod failed";
    if (cache.load(path, 0)) return "an unreadable file gave a picture";
    return "";
}

}  // namespace

TEST(PictureCache, NoticesAFileRewrittenInPlaceOrMadeUnreadable) {
    const kavrel_test::TempFolder folder("kavrel-cache");
    const std::string tmpl = folder.path().string();
    const std::string path = folder / "p.bmp";
    writeBmp(path, kRed);

    PictureCache cache(PictureCache::kDefaultBudget, ahead());
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
}

TEST(PictureCache, KeepsAPictureOnlyWhenItsFileTimesAreTwoSecondsOld) {
    const kavrel_test::TempFolder folder("kavrel-cache");
    const std::string path = folder / "p.bmp";
    writeBmp(path, kRed);
    timespec now{};
    PictureCache cache(PictureCache::kDefaultBudget, [&now] { return now; });

    // The change time decides; the modification time is long past.
    setModified(path, plus(statOf(path).st_mtim, -10));
    const timespec changed = statOf(path).st_ctim;
    now = plus(changed, 2, -1);
    ASSERT_TRUE(cache.load(path, 0));
    EXPECT_EQ(cache.count(), 0u) << "changed 1.999999999 s ago";
    now = plus(changed, 2);
    ASSERT_TRUE(cache.load(path, 0));
    EXPECT_EQ(cache.count(), 1u) << "changed 2 s ago";

    // The modification time decides: set ahead of the change time (a file
    // copied with its times, a clock set back).
    setModified(path, timespec{statOf(path).st_ctim.tv_sec + 10, 0});
    const timespec modified = statOf(path).st_mtim;
    now = plus(modified, 1);
    const auto shown = cache.load(path, 0);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->at(1, 1), kRed);
    EXPECT_EQ(cache.count(), 0u) << "the old entry is dropped, the new state not kept";
    now = plus(modified, 2);
    ASSERT_TRUE(cache.load(path, 0));
    EXPECT_EQ(cache.count(), 1u);
}

// As on a file system that keeps whole seconds: a picture written and
// rewritten with the same size within one second, the modification time the
// same whole second both times. On the wall clock, the second load shows the
// new picture.
TEST(PictureCache, APictureRewrittenWithinItsSecondIsShownNew) {
    const kavrel_test::TempFolder folder("kavrel-cache");
    const std::string path = folder / "p.bmp";
    writeBmp(path, kRed);
    const timespec second{statOf(path).st_mtim.tv_sec, 0};
    setModified(path, second);
    PictureCache cache;
    const auto first = cache.load(path, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->at(1, 1), kRed);
    EXPECT_EQ(cache.count(), 0u) << "a file changed just now is not kept";

    writeBmp(path, kBlue);
    setModified(path, second);
    const auto next = cache.load(path, 0);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->at(1, 1), kBlue);
}

// The picture's folder is swapped for another holding a picture of the same
// name while it is opened, and swapped back before the cache looks again:
// the load gives the state of the file read, which the cache keeps its
// picture under, so the next switch sees the file's own picture.
TEST(PictureCache, KeepsAPictureUnderTheStateOfTheFileRead) {
    const kavrel_test::TempFolder folder("kavrel-cache");
    std::filesystem::create_directory(folder / "pics");
    std::filesystem::create_directory(folder / "other");
    writeBmp(folder / "pics/p.bmp", kRed);
    writeBmp(folder / "other/p.bmp", kBlue);
    const std::string path = folder / "pics/p.bmp";
    auto swap = [&](const std::string& a, const std::string& b) {
        std::filesystem::rename(folder / a, folder / "held");
        std::filesystem::rename(folder / b, folder / a);
        std::filesystem::rename(folder / "held", folder / b);
    };
    const struct stat blue = statOf(folder / "other/p.bmp");
    PictureLoadHooks hooks;
    hooks.beforeOpen = [&] { swap("pics", "other"); };
    hooks.afterRead = [&] { swap("pics", "other"); };
    std::optional<PictureFileState> read;
    const auto swapped = [&] {
        const kavrel_test::ScopedPictureLoadHooks scoped(hooks);
        return loadPictureFile(path, 0, nullptr, &read);
    }();
    ASSERT_TRUE(swapped);
    EXPECT_EQ(swapped->at(1, 1), kBlue);
    ASSERT_TRUE(read);
    EXPECT_TRUE(*read == PictureFileState::of(blue));
    EXPECT_FALSE(*read == PictureFileState::of(statOf(path)));
    PictureCache cache(PictureCache::kDefaultBudget, ahead());
    const auto next = cache.load(path, 0);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->at(1, 1), kRed);
    EXPECT_EQ(cache.load(path, 0)->at(1, 1), kRed);
}
