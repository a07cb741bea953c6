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
#include "tests/support/temp_folder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// The user tests run others' saves as, and give files to.
constexpr uid_t kOther = 65534;

class FileReplace : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(root_ / "save");
        fs::create_directories(root_ / "elsewhere");
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
    kavrel_test::TempFolder folder_{"kavrel-file-replace"};
    fs::path root_ = folder_.path();
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
        const bool ok = static_cast<bool>(
            replaceFile(saved("show"), [&](int fd) { return writeText(fd, content); }));
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

// The owner and permission bits of `p`.
std::pair<uid_t, mode_t> ownerAndMode(const std::string& p) {
    struct stat st {};
    EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
    return {st.st_uid, st.st_mode & 07777};
}

bool holdsTemporary(const fs::path& folder) {
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename().string().rfind(".kavrel-", 0) == 0) return true;
    return false;
}

TEST_F(FileReplace, AFolderSwappedForALinkAtAnyStepTakesTheSaveWhole) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to give folders to another user";
    // Root saves into `mdir`, which lies in another user's folder: she may
    // rename it and put a link to a folder she may not write in its place.
    const fs::path home = root_ / "home";
    const fs::path mdir = home / "mdir";
    const fs::path moved = home / "mdir.old";
    const fs::path guarded = root_ / "guarded";
    const auto setUp = [&] {
        fs::remove_all(home);
        fs::remove_all(guarded);
        fs::create_directories(mdir);
        fs::create_directories(guarded);
        putBytes((mdir / "show").string(), "hers");
        putBytes((guarded / "show").string(), "roots");
        ASSERT_EQ(::chmod((mdir / "show").c_str(), 0666), 0);
        ASSERT_EQ(::chmod((guarded / "show").c_str(), 0600), 0);
        ASSERT_EQ(::chown((mdir / "show").c_str(), kOther, kOther), 0);
        ASSERT_EQ(::chown(mdir.c_str(), kOther, kOther), 0);
        ASSERT_EQ(::chown(home.c_str(), kOther, kOther), 0);
    };
    const auto swap = [&] {
        fs::rename(mdir, moved);
        fs::create_directory_symlink(guarded, mdir);
    };
    const std::string target = (mdir / "show").string();
    const auto save = [&](const ReplaceHooks& hooks) {
        return replaceFile(
            target, [](int fd) { return writeAll(fd, "new", 3); }, &hooks);
    };
    setUp();
    int steps = 0;
    ASSERT_TRUE(save(ReplaceHooks{[&](std::string_view, std::string_view) {
        ++steps;
        return 0;
    }}));
    EXPECT_GE(steps, 15) << "every system call of the save is a step";
    for (int at = 0; at <= steps; ++at) {
        setUp();
        int step = 0;
        const WriteResult result = save(ReplaceHooks{[&](std::string_view, std::string_view) {
            if (step++ == at) swap();
            return 0;
        }});
        if (at == steps) swap();  // after the last step
        EXPECT_TRUE(result) << "step " << at << ": " << result.reason();
        const std::string hers = bytesOf((moved / "show").string());
        const std::string roots = bytesOf((guarded / "show").string());
        EXPECT_TRUE((hers == "new") != (roots == "new"))
            << "step " << at << ": hers " << hers << ", root's " << roots;
        EXPECT_TRUE(hers == "hers" || roots == "roots") << "step " << at;
        EXPECT_EQ(ownerAndMode((moved / "show").string()), std::make_pair(kOther, mode_t{0666}))
            << "step " << at;
        EXPECT_EQ(ownerAndMode((guarded / "show").string()), std::make_pair(uid_t{0}, mode_t{0600}))
            << "step " << at;
        EXPECT_FALSE(holdsTemporary(moved)) << "step " << at;
        EXPECT_FALSE(holdsTemporary(guarded)) << "step " << at;
    }
}

TEST_F(FileReplace, OnlyItsOwnerMayReadAReplacingTemporaryAndANewFileIsMadeAsAnyOther) {
    putBytes(saved("show"), "old");
    ASSERT_EQ(::chmod(saved("show").c_str(), 0644), 0);
    mode_t during = 0;
    const auto modeOf = [&during](int fd) {
        struct stat st {};
        during = ::fstat(fd, &st) == 0 ? st.st_mode & 07777 : 07777;
        return writeAll(fd, "new", 3);
    };
    EXPECT_TRUE(replaceFile(saved("show"), modeOf));
    EXPECT_EQ(during & 077, 0u) << std::oct << during;
    EXPECT_EQ(ownerAndMode(saved("show")).second, 0644u);
    for (const mode_t mask : {mode_t{022}, mode_t{077}}) {
        const mode_t before = ::umask(mask);
        const std::string fresh = saved("fresh" + std::to_string(mask));
        const WriteResult made = replaceFile(fresh, modeOf);
        ::umask(before);
        EXPECT_TRUE(made);
        EXPECT_EQ(during, 0666 & ~mask) << std::oct << mask;
        EXPECT_EQ(ownerAndMode(fresh).second, 0666 & ~mask) << std::oct << mask;
    }
}

TEST_F(FileReplace, TheTemporaryIsMadeOnceAndOtherwiseReachedThroughItsDescriptor) {
    putBytes(saved("show"), "old");
    std::vector<std::pair<std::string, std::string>> calls;
    const ReplaceHooks hooks{[&](std::string_view call, std::string_view subject) {
        calls.emplace_back(call, subject);
        return 0;
    }};
    ASSERT_TRUE(replaceFile(
        saved("show"), [](int fd) { return writeAll(fd, "new", 3); }, &hooks));
    std::vector<std::string> byName;
    for (const auto& [call, subject] : calls)
        if (subject.rfind(".kavrel-", 0) == 0) byName.push_back(call);
    EXPECT_EQ(byName, (std::vector<std::string>{"openat", "fstatat", "renameat"}));
}

TEST_F(FileReplace, AFailureSaysWhy) {
    const auto ok = [](int fd) { return writeAll(fd, "new", 3); };
    EXPECT_EQ(replaceFile(saved("no folder/show"), ok).reason(), "No such file or directory");
    EXPECT_EQ(replaceFile((root_ / "save").string(), ok).reason(), "it is not a regular file");
    putBytes(saved("ro"), "kept");
    ::chmod(saved("ro").c_str(), 0444);
    EXPECT_EQ(replaceFile(saved("ro"), ok).reason(), "it is read-only");
    // A write that fails says what the system said; nothing is left.
    EXPECT_EQ(replaceFile(saved("show"),
                          [](int) {
                              errno = ENOSPC;
                              return false;
                          })
                  .reason(),
              "No space left on device");
    const ReplaceHooks full{
        [](std::string_view call, std::string_view) { return call == "fsync" ? EIO : 0; }};
    EXPECT_EQ(replaceFile(saved("show"), ok, &full).error(), EIO);
    EXPECT_TRUE(othersIn("ro").empty());
}

}  // namespace
}  // namespace platform
