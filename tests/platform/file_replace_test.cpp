#include "platform/file_replace.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/fd_write.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// The user tests run others' saves as, and give files to.
constexpr uid_t kOther = 65534;

class FileReplace : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::temp_directory_path() /
                ("kavrel_file_replace_" + std::to_string(::getpid()) + "_" + info->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "save");
        fs::create_directories(root_ / "elsewhere");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    std::string saved(const std::string& name) const { return (root_ / "save" / name).string(); }
    std::string outside() const { return (root_ / "elsewhere" / "secret").string(); }
    static std::string bytesOf(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void putBytes(const std::string& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    static struct stat statOf(const std::string& p) {
        struct stat st {};
        EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
        return st;
    }
    // The names in the save folder other than `except`.
    std::vector<std::string> othersIn(const std::string& except) const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(root_ / "save"))
            if (e.path().filename() != except) names.push_back(e.path().filename().string());
        return names;
    }
    // Puts a link to the outside file in place of every temporary a save has
    // made in the folder; the number of links put.
    int swapTemporariesForLinks() const {
        int swapped = 0;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(root_ / "save", ec)) {
            const std::string name = e.path().filename().string();
            if (name.rfind(".kavrel-", 0) != 0) continue;
            const fs::path link = root_ / "save" / ("link-" + name);
            if (::symlink(outside().c_str(), link.c_str()) != 0) continue;
            if (::rename(link.c_str(), e.path().c_str()) == 0) ++swapped;
            ::unlink(link.c_str());
        }
        return swapped;
    }
    static bool writeText(int fd, const std::string& text) {
        return writeAll(fd, text.data(), text.size());
    }
    fs::path root_;
};

TEST_F(FileReplace, ALongNameSavesThroughAShortHiddenTemporary) {
    const std::string name(255, 'n');
    putBytes(saved(name), "old");
    std::vector<std::string> during;
    EXPECT_TRUE(replaceFile(saved(name), [&](int fd) {
        during = othersIn(name);
        return writeText(fd, "new");
    }));
    EXPECT_EQ(bytesOf(saved(name)), "new");
    ASSERT_EQ(during.size(), 1u);
    EXPECT_EQ(during[0].rfind(".kavrel-", 0), 0u) << during[0];
    EXPECT_LE(during[0].size(), 16u);
    EXPECT_TRUE(othersIn(name).empty()) << "the temporary took the name";
    // A name the folder cannot hold at all is refused, and leaves nothing.
    EXPECT_FALSE(replaceFile(saved(std::string(256, 'n')), [](int) { return true; }));
    EXPECT_TRUE(othersIn(name).empty());
}

TEST_F(FileReplace, ATemporarySwappedForALinkNeverRedirectsTheSave) {
    putBytes(outside(), "secret");
    ::chmod(outside().c_str(), 0600);
    const struct stat before = statOf(outside());
    putBytes(saved("show"), "old");
    ::chmod(saved("show").c_str(), 0666);
    int swapped = 0;
    // Between the temporary's creation and everything done with it: the
    // writing, the owner, the permissions, the flush and the rename.
    EXPECT_FALSE(replaceFile(saved("show"), [&](int fd) {
        swapped = swapTemporariesForLinks();
        return writeText(fd, "new");
    }));
    EXPECT_EQ(swapped, 1);
    EXPECT_EQ(bytesOf(outside()), "secret");
    const struct stat after = statOf(outside());
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(bytesOf(saved("show")), "old");
    EXPECT_FALSE(fs::is_symlink(saved("show")));
    EXPECT_TRUE(othersIn("show").empty()) << "the link put in its place is removed too";
}

TEST_F(FileReplace, SavesRacedByLinksToTheirTemporariesNeverWriteOutside) {
    putBytes(outside(), "secret");
    ::chmod(outside().c_str(), 0600);
    std::atomic<bool> done{false};
    std::atomic<int> swapped{0};
    std::thread attacker([&] {
        while (!done) swapped += swapTemporariesForLinks();
    });
    int saves = 0;
    int failed = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    while (std::chrono::steady_clock::now() < until && saves < 400) {
        ++saves;
        const std::string content = "save " + std::to_string(saves);
        const bool ok = replaceFile(saved("show"), [&](int fd) { return writeText(fd, content); });
        if (!ok) ++failed;
        // A link that took the name in the instant before the rename stands
        // where the save was; anyone who may write to the folder can put one
        // there anyway. That save says it failed. A later save would follow
        // the link, so it goes here.
        if (fs::is_symlink(saved("show"))) {
            EXPECT_FALSE(ok) << "a save whose name a link took says it was saved";
            fs::remove(saved("show"));
        }
    }
    done = true;
    attacker.join();
    EXPECT_EQ(bytesOf(outside()), "secret") << saves << " saves, " << swapped << " links put";
    EXPECT_EQ(statOf(outside()).st_mode & 07777, 0600u);
    EXPECT_LE(failed, swapped.load()) << "only a swapped save fails";
}

TEST_F(FileReplace, AnotherUsersLinkInASharedStickyFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to give a link to another user";
    putBytes(outside(), "secret");
    const fs::path shared = root_ / "shared";
    fs::create_directories(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    const std::string theirs = (shared / "theirs.Kavrel").string();
    const std::string ours = (shared / "ours.Kavrel").string();
    fs::create_symlink(outside(), theirs);
    fs::create_symlink(outside(), ours);
    ASSERT_EQ(::lchown(theirs.c_str(), kOther, kOther), 0);
    // As the system would not follow it for us, neither does the save.
    EXPECT_EQ(replaceability(theirs), Replaceable::Unreachable);
    EXPECT_FALSE(replaceFile(theirs, [](int fd) { return writeAll(fd, "new", 3); }));
    EXPECT_EQ(bytesOf(outside()), "secret");
    // This user's own link there, and another's link in a folder not shared
    // that way, are followed.
    EXPECT_TRUE(replaceFile(ours, [](int fd) { return writeAll(fd, "mine", 4); }));
    EXPECT_EQ(bytesOf(outside()), "mine");
    ASSERT_EQ(::chmod(shared.c_str(), 0777), 0);
    EXPECT_TRUE(replaceFile(theirs, [](int fd) { return writeAll(fd, "open", 4); }));
    EXPECT_EQ(bytesOf(outside()), "open");
    EXPECT_TRUE(fs::is_symlink(theirs));
}

TEST_F(FileReplace, KeepsOwnerGroupAndPermissionsOfAnotherUsersFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can save over another's file";
    putBytes(saved("show"), "old");
    ASSERT_EQ(::chown(saved("show").c_str(), kOther, kOther), 0);
    ASSERT_EQ(::chmod(saved("show").c_str(), 02640), 0);
    EXPECT_TRUE(replaceFile(saved("show"), [](int fd) { return writeText(fd, "new"); }));
    const struct stat st = statOf(saved("show"));
    EXPECT_EQ(bytesOf(saved("show")), "new");
    EXPECT_EQ(st.st_uid, kOther);
    EXPECT_EQ(st.st_gid, kOther);
    EXPECT_EQ(st.st_mode & 07777, 02640u);
}

TEST_F(FileReplace, AUserWhoCannotGiveTheFileAwayEndsOwningIt) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to act as another user";
    // The superuser's file, open to all and marked set-user; a folder the
    // other user may write to but not list.
    putBytes(saved("show"), "old");
    ASSERT_EQ(::chmod(saved("show").c_str(), 04666), 0);
    ASSERT_EQ(::chmod((root_ / "save").c_str(), 0733), 0);
    ASSERT_EQ(::chmod(root_.c_str(), 0755), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool as =
            ::setgroups(0, nullptr) == 0 && ::setgid(kOther) == 0 && ::setuid(kOther) == 0;
        const bool ok =
            as && replaceFile(saved("show"), [](int fd) { return writeAll(fd, "new", 3); });
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const struct stat st = statOf(saved("show"));
    EXPECT_EQ(bytesOf(saved("show")), "new");
    EXPECT_EQ(st.st_uid, kOther);
    EXPECT_EQ(st.st_gid, kOther);
    EXPECT_EQ(st.st_mode & 07777, 0666u) << "no set-user bit for an owner it was not set for";
}

TEST_F(FileReplace, SaysWhatCannotBeReplacedAndKnowsFilesByIdentity) {
    putBytes(saved("show"), "old");
    EXPECT_EQ(replaceability(saved("show")), Replaceable::Yes);
    EXPECT_EQ(replaceability(saved("new")), Replaceable::Yes);
    EXPECT_EQ(replaceability((root_ / "save").string()), Replaceable::NotRegular);
    fs::create_symlink("loop", saved("loop"));
    EXPECT_EQ(replaceability(saved("loop")), Replaceable::Unreachable);
    EXPECT_EQ(replaceability(""), Replaceable::Unreachable);
    putBytes(saved("ro"), "kept");
    ::chmod(saved("ro").c_str(), 0444);
    EXPECT_EQ(replaceability(saved("ro")), Replaceable::ReadOnly);
    EXPECT_FALSE(replaceFile(saved("ro"), [](int) { return true; }));
    EXPECT_EQ(bytesOf(saved("ro")), "kept");

    // A link and a hard link name the same file; a replaced file is another.
    fs::create_symlink("show", saved("soft"));
    fs::create_hard_link(saved("show"), saved("hard"));
    const auto show = identityOf(saved("show"));
    ASSERT_TRUE(show.has_value());
    EXPECT_EQ(identityOf(saved("soft")), show);
    EXPECT_EQ(identityOf(saved("hard")), show);
    const int hard = ::open(saved("hard").c_str(), O_RDONLY);
    EXPECT_EQ(identityOfDescriptor(hard), show);
    ::close(hard);
    EXPECT_FALSE(identityOf(saved("missing")).has_value());
    EXPECT_TRUE(replaceFile(saved("show"), [](int fd) { return writeAll(fd, "new", 3); }));
    EXPECT_NE(identityOf(saved("show")), show);
    EXPECT_EQ(bytesOf(saved("hard")), "old") << "another hard link keeps the old content";
}

}  // namespace
}  // namespace platform
