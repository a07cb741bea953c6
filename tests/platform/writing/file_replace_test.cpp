#include "platform/writing/file_replace.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/files/fd_write.h"
#include "platform/files/unique_fd.h"
#include "platform/pictures/picture_file.h"
#include "platform/text/text_file.h"
#include "tests/support/identity_of.h"
#include "tests/support/in_child.h"
#include "tests/support/scoped_replace_hooks.h"
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
    static WriteResult saveNew(const std::string& p, const ReplaceHooks* hooks = nullptr) {
        const ScopedReplaceHooks scope(hooks);
        return replaceFile(p, [](int fd) { return writeText(fd, "new"); });
    }
    // Makes this process the other user's.
    static bool becomeOther() {
        return ::setgroups(0, nullptr) == 0 && ::setgid(kOther) == 0 && ::setuid(kOther) == 0;
    }
    // Whether the other user, in a process of her own, saved "new" at `p`.
    static bool savedAsOther(const std::string& p) {
        return kavrel_test::inChild(
                   [&] { return becomeOther() ? saveNew(p).reason() : "not her"; }) == "";
    }
    kavrel_test::TempFolder folder_{"kavrel-file-replace"};
    fs::path root_ = folder_.path();
};

TEST_F(FileReplace, ALongNameSavesThroughAShortHiddenTemporary) {
    const std::string name(255, 'n');
    putBytes(saved(name), "old");
    // Without the proc file system, which names a nameless one to link it,
    // the temporary is named from the start.
    std::vector<std::string> during, whileWritten;
    const ReplaceHooks atRename{[&](std::string_view call, std::string_view subject) {
        if (call == "renameat") during = othersIn(name);
        return call == "stat" && subject.rfind("/proc/", 0) == 0 ? ENOENT : 0;
    }};
    {
        const ScopedReplaceHooks scope(&atRename);
        EXPECT_TRUE(replaceFile(saved(name), [&](int fd) {
            whileWritten = othersIn(name);
            return writeText(fd, "new");
        }));
    }
    EXPECT_EQ(whileWritten, during);
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
    // A named temporary (where the file system makes no nameless files) is
    // swapped between its creation and everything done with it: the writing,
    // the owner, the permissions, the flush and the rename. A nameless one
    // has a name only from its link on; it is swapped at the first step
    // after. Either is opened once, and never by name.
    for (const bool nameless : {false, true}) {
        int swapped = 0;
        bool linked = false;
        std::vector<std::string> calls;  // on the temporary, but its link
        const ReplaceHooks hooks{[&](std::string_view call, std::string_view subject) {
            if (!nameless && call == "openat" && subject.empty()) return EOPNOTSUPP;
            if (((call == "openat" && subject.empty()) || subject.rfind(".kavrel-", 0) == 0) &&
                call != "linkat")
                calls.emplace_back(call);
            if (linked && swapped == 0) swapped = swapTemporariesForLinks();
            linked = linked || call == "linkat";
            return 0;
        }};
        const ScopedReplaceHooks scope(&hooks);
        EXPECT_FALSE(replaceFile(saved("show"), [&](int fd) {
            if (!nameless) swapped = swapTemporariesForLinks();
            return writeText(fd, "new");
        }));
        EXPECT_EQ(swapped, 1) << nameless;
        EXPECT_EQ(calls, (std::vector<std::string>{"openat", "fstatat", "unlinkat"})) << nameless;
        EXPECT_EQ(bytesOf(outside()), "secret");
        const struct stat after = statOf(outside());
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(bytesOf(saved("show")), "old");
        EXPECT_FALSE(fs::is_symlink(saved("show")));
        EXPECT_TRUE(othersIn("show").empty()) << "the link put in its place is removed too";
    }
}

TEST_F(FileReplace, ASaveKilledWhileFlushingLeavesNoTemporary) {
    if (!UniqueFd(::open((root_ / "save").c_str(), O_TMPFILE | O_RDWR, 0600)) ||
        !fs::exists("/proc/self/fd"))
        GTEST_SKIP() << "the file system makes no nameless files here";
    putBytes(saved("show"), "old");
    const pid_t child = ::fork();
    if (child == 0) {
        const ReplaceHooks killed{[](std::string_view call, std::string_view) {
            if (call == "fsync") ::raise(SIGKILL);
            return 0;
        }};
        saveNew(saved("show"), &killed);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    EXPECT_EQ(bytesOf(saved("show")), "old");
    EXPECT_TRUE(othersIn("show").empty());
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
    EXPECT_EQ(replaceFile(theirs, [](int fd) { return writeAll(fd, "new", 3); }).refusal(),
              Refusal::OthersLink);
    EXPECT_EQ(bytesOf(outside()), "secret");
    // Nor when this user's own link leads to it: each link on the way counts.
    fs::create_symlink(theirs, shared / "chain.Kavrel");
    EXPECT_EQ(replaceFile((shared / "chain.Kavrel").string(), [](int) { return true; }).refusal(),
              Refusal::OthersLink);
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
    EXPECT_TRUE(saveNew(saved("show")));
    const struct stat st = statOf(saved("show"));
    EXPECT_EQ(bytesOf(saved("show")), "new");
    EXPECT_EQ(st.st_uid, kOther);
    EXPECT_EQ(st.st_gid, kOther);
    EXPECT_EQ(st.st_mode & 07777, 02640u);
}

TEST_F(FileReplace, AUserWhoCannotGiveTheFileAwayWritesIntoIt) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to act as another user";
    // The superuser's file, open to all and marked set-user; a folder the
    // other user may write to but not list.
    putBytes(saved("show"), "old");
    ASSERT_EQ(::chmod(saved("show").c_str(), 04666), 0);
    ASSERT_EQ(::chmod((root_ / "save").c_str(), 0733), 0);
    ASSERT_EQ(::chmod(root_.c_str(), 0755), 0);
    const ino_t inode = statOf(saved("show")).st_ino;
    ASSERT_TRUE(savedAsOther(saved("show")));
    const struct stat st = statOf(saved("show"));
    EXPECT_EQ(bytesOf(saved("show")), "new");
    EXPECT_EQ(st.st_ino, inode);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(st.st_gid, 0u);
    // The system drops a set-user bit when another user writes the file.
    EXPECT_EQ(st.st_mode & 07777, 0666u) << "no set-user bit for what another user wrote";
    EXPECT_TRUE(othersIn("show").empty());
}

TEST_F(FileReplace, TheSuperuserOfAUserNamespaceWritesIntoTheFileOfAUserItDoesNotMap) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to give a file to another user";
    // Another user's file and a folder, open to all; in a user namespace of
    // its own, which maps no id, the file's owner and its own show as one.
    putBytes(saved("show"), "old");
    ASSERT_EQ(::chown(saved("show").c_str(), 12346, 12346), 0);
    for (const auto& [p, mode] : {std::pair{saved("show"), 0666},
                                  {(root_ / "save").string(), 0777},
                                  {root_.string(), 0755}})
        ASSERT_EQ(::chmod(p.c_str(), mode), 0);
    const std::string result = kavrel_test::inChild([&] {
        if (::unshare(CLONE_NEWUSER) != 0) return "no user namespace here";
        return saveNew(saved("show")) ? "saved" : "not saved";
    });
    if (result == "no user namespace here") GTEST_SKIP() << result;
    ASSERT_EQ(result, "saved");
    const struct stat st = statOf(saved("show"));
    EXPECT_EQ(bytesOf(saved("show")), "new");
    EXPECT_EQ(std::make_pair(st.st_uid, st.st_gid), std::make_pair(12346u, 12346u));
}

TEST_F(FileReplace, SaysWhatCannotBeReplacedAndKnowsFilesByIdentity) {
    putBytes(saved("show"), "old");
    const auto refusal = [](const std::string& p) { return saveNew(p).refusal(); };
    EXPECT_EQ(refusal((root_ / "save").string()), Refusal::NotRegular);
    EXPECT_EQ(refusal((root_ / "save/").string()), Refusal::NotRegular);
    fs::create_symlink("loop", saved("loop"));
    EXPECT_EQ(replaceFile(saved("loop"), [](int) { return true; }).error(), ELOOP);
    EXPECT_EQ(replaceFile("", [](int) { return true; }).error(), ENOENT);
    putBytes(saved("ro"), "kept");
    ::chmod(saved("ro").c_str(), 0444);
    EXPECT_EQ(refusal(saved("ro")), Refusal::ReadOnly);
    EXPECT_EQ(bytesOf(saved("ro")), "kept");

    // A link and a hard link name the same file; a replaced file is another.
    fs::create_symlink("show", saved("soft"));
    fs::create_hard_link(saved("show"), saved("hard"));
    const auto show = kavrel_test::identityOf(saved("show"));
    ASSERT_TRUE(show.has_value());
    EXPECT_EQ(kavrel_test::identityOf(saved("soft")), show);
    EXPECT_EQ(kavrel_test::identityOf(saved("hard")), show);
    const int hard = ::open(saved("hard").c_str(), O_RDONLY);
    EXPECT_EQ(identityOfDescriptor(hard), show);
    ::close(hard);
    EXPECT_FALSE(kavrel_test::identityOf(saved("missing")).has_value());
    EXPECT_TRUE(replaceFile(saved("show"), [](int fd) { return writeAll(fd, "new", 3); }));
    EXPECT_NE(kavrel_test::identityOf(saved("show")), show);
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
    const fs::path home = root_ / "home", mdir = home / "mdir", moved = home / "mdir.old";
    const fs::path guarded = root_ / "guarded";
    const std::string hers = (moved / "show").string(), roots = (guarded / "show").string();
    const auto setUp = [&] {
        fs::remove_all(home);
        fs::remove_all(guarded);
        fs::create_directories(mdir);
        fs::create_directories(guarded);
        putBytes((mdir / "show").string(), "hers");
        putBytes(roots, "roots");
        ::chmod((mdir / "show").c_str(), 0666);
        ::chmod(roots.c_str(), 0600);
        for (const fs::path& p : {mdir / "show", mdir, home}) ::chown(p.c_str(), kOther, kOther);
    };
    // Swaps before the call numbered `at`; returns the number of calls.
    const auto save = [&](int at) {
        int step = 0;
        const ReplaceHooks hooks{[&](std::string_view, std::string_view) {
            if (step++ == at) {
                fs::rename(mdir, moved);
                fs::create_directory_symlink(guarded, mdir);
            }
            return 0;
        }};
        setUp();
        const WriteResult saved = saveNew((mdir / "show").string(), &hooks);
        EXPECT_TRUE(saved) << "step " << at << ": " << saved.reason();
        return step;
    };
    const int steps = save(-1);
    EXPECT_GE(steps, 15) << "every system call of the save is a step";
    for (int at = 0; at < steps; ++at) {
        save(at);
        EXPECT_TRUE((bytesOf(hers) == "new") != (bytesOf(roots) == "new")) << "step " << at;
        EXPECT_TRUE(bytesOf(hers) == "hers" || bytesOf(roots) == "roots") << "step " << at;
        EXPECT_EQ(ownerAndMode(hers), std::make_pair(kOther, mode_t{0666})) << "step " << at;
        EXPECT_EQ(ownerAndMode(roots), std::make_pair(uid_t{0}, mode_t{0600})) << "step " << at;
        EXPECT_FALSE(holdsTemporary(moved) || holdsTemporary(guarded)) << "step " << at;
    }
}

TEST_F(FileReplace, OnlyItsOwnerMayReadAReplacingTemporaryAndANewFileIsMadeAsAnyOther) {
    putBytes(saved("show"), "old");
    ASSERT_EQ(::chmod(saved("show").c_str(), 0644), 0);
    mode_t during = 0;
    const auto modeOf = [&during](int fd) {
        struct stat st {};
        during = ::fstat(fd, &st) == 0 ? st.st_mode & 07777 : 07777;
        return writeText(fd, "new");
    };
    EXPECT_TRUE(replaceFile(saved("show"), modeOf));
    EXPECT_EQ(during & 077, 0u) << std::oct << during;
    EXPECT_EQ(ownerAndMode(saved("show")).second, 0644u);
    for (const mode_t mask : {mode_t{022}, mode_t{077}}) {
        const mode_t before = ::umask(mask);
        const std::string fresh = saved("fresh" + std::to_string(mask));
        EXPECT_TRUE(replaceFile(fresh, modeOf));
        ::umask(before);
        EXPECT_EQ(during, 0666 & ~mask) << std::oct << mask;
        EXPECT_EQ(ownerAndMode(fresh).second, 0666 & ~mask) << std::oct << mask;
    }
}

TEST_F(FileReplace, AFailureSaysWhy) {
    const auto ok = [](int fd) { return writeText(fd, "new"); };
    EXPECT_EQ(replaceFile(saved("no folder/show"), ok).reason(), "No such file or directory");
    putBytes(saved("ro"), "kept");
    ::chmod(saved("ro").c_str(), 0444);
    EXPECT_EQ(replaceFile(saved("ro"), ok).reason(), "it is read-only");
    const auto full = [](int) {
        errno = ENOSPC;
        return false;
    };
    EXPECT_EQ(replaceFile(saved("show"), full).reason(), "No space left on device");
    EXPECT_TRUE(othersIn("ro").empty());
}

// An ACL as the system stores it in its attribute: a version, then an entry
// of tag, permissions and id (none for the owner, group, mask and others)
// for the owner, a named user, the group, the mask and others, little-endian.
std::string aclBytes(uint16_t owner, uint32_t named, uint16_t theirs, uint16_t group, uint16_t mask,
                     uint16_t others) {
    std::string bytes;
    const auto put = [&bytes](uint32_t v, int size) {
        for (int i = 0; i < size; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const uint32_t none = 0xFFFFFFFF;
    put(2, 4);
    for (const auto& [tag, perms, id] : {std::tuple<uint16_t, uint16_t, uint32_t>{1, owner, none},
                                         {2, theirs, named},
                                         {4, group, none},
                                         {0x10, mask, none},
                                         {0x20, others, none}}) {
        put(tag, 2);
        put(perms, 2);
        put(id, 4);
    }
    return bytes;
}

constexpr const char* kAcl = "system.posix_acl_access";
// Read and write for the owner and the other user, nothing for the group:
// `ls` shows 0660, the mask in the group's place.
const std::string kNamedUserAcl = aclBytes(6, kOther, 6, 0, 6, 0);
// A note that is no text: a zero byte and a byte above 127.
const std::string kNote("kept\0\xff", 6);

std::optional<std::string> attribute(const std::string& path, const char* name) {
    char buffer[4096];
    const ssize_t n = ::getxattr(path.c_str(), name, buffer, sizeof buffer);
    return n < 0 ? std::nullopt : std::optional<std::string>(std::string(buffer, size_t(n)));
}

bool setAttribute(const std::string& path, const char* name, const std::string& value) {
    return ::setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0;
}

// A file at `p` with the named user's ACL and a note; "" when the file
// system keeps no ACL or user attribute, else why not.
std::string withAclAndNote(const std::string& p) {
    std::ofstream(p, std::ios::binary) << "old";
    if (!setAttribute(p, kAcl, kNamedUserAcl) || !setAttribute(p, "user.note", kNote))
        return p + "'s file system keeps no ACL or user attribute: " + std::strerror(errno);
    return "";
}

TEST_F(FileReplace, AProjectSaveAndASnapshotKeepTheAclAndUserAttributesByteForByte) {
    const std::string project = saved("show.Kavrel"), png = saved("pane.png");
    for (const std::string& p : {project, png})
        if (const std::string why = withAclAndNote(p); !why.empty()) GTEST_SKIP() << why;
    // The system's own attributes are not carried over.
    const bool trusted = setAttribute(project, "trusted.mark", "x");
    EXPECT_TRUE(saveTextFile(project, [](TextFileWriter& w) { return w.writeLine("new"); }));
    EXPECT_TRUE(writePng(Surface(2, 2), png));
    for (const std::string& p : {project, png}) {
        EXPECT_NE(bytesOf(p), "old") << p;
        EXPECT_EQ(attribute(p, kAcl), kNamedUserAcl) << p;
        EXPECT_EQ(attribute(p, "user.note"), kNote) << p;
        EXPECT_EQ(ownerAndMode(p).second, 0660u) << p;
    }
    if (trusted) {
        EXPECT_FALSE(attribute(project, "trusted.mark").has_value());
    }
}

TEST_F(FileReplace, ASaveThatCannotKeepTheAclFailsWithTheReasonAndKeepsTheOldFile) {
    if (const std::string why = withAclAndNote(saved("show")); !why.empty()) GTEST_SKIP() << why;
    const ReplaceHooks noAcls{[](std::string_view call, std::string_view subject) {
        return call == "fsetxattr" && subject == kAcl ? EOPNOTSUPP : 0;
    }};
    const WriteResult result = saveNew(saved("show"), &noAcls);
    EXPECT_EQ(result.reason(), "Operation not supported");
    EXPECT_EQ(bytesOf(saved("show")), "old");
    EXPECT_EQ(attribute(saved("show"), kAcl), kNamedUserAcl);
    EXPECT_TRUE(othersIn("show").empty());
}

TEST_F(FileReplace, UnderADefaultAclANewFileIsMadeAsAnyAndAReplacedOneKeepsHavingNone) {
    const std::string folder = (root_ / "save").string();
    if (!setAttribute(folder, "system.posix_acl_default", kNamedUserAcl))
        GTEST_SKIP() << folder << "'s file system keeps no ACL: " << std::strerror(errno);
    const int plain = ::open(saved("plain").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    ASSERT_GE(plain, 0);
    ::close(plain);
    EXPECT_TRUE(saveNew(saved("fresh")));
    EXPECT_EQ(attribute(saved("fresh"), kAcl), attribute(saved("plain"), kAcl));
    EXPECT_EQ(ownerAndMode(saved("fresh")), ownerAndMode(saved("plain")));
    // The temporary inherits an ACL the old file did not have: it goes, and
    // before the notes are copied, which it might leave no room for.
    ASSERT_EQ(::removexattr(saved("plain").c_str(), kAcl), 0);
    ASSERT_EQ(::chmod(saved("plain").c_str(), 0640), 0);
    ASSERT_TRUE(setAttribute(saved("plain"), "user.note", kNote));
    std::vector<std::string> calls;
    const ReplaceHooks record{[&](std::string_view call, std::string_view subject) {
        if (call == "fsetxattr" || call == "fremovexattr")
            calls.push_back(std::string(call) + ' ' + std::string(subject));
        return 0;
    }};
    EXPECT_TRUE(saveNew(saved("plain"), &record));
    EXPECT_EQ(calls, (std::vector<std::string>{"fremovexattr system.posix_acl_access",
                                               "fsetxattr user.note"}));
    EXPECT_FALSE(attribute(saved("plain"), kAcl).has_value());
    EXPECT_EQ(ownerAndMode(saved("plain")).second, 0640u);
    EXPECT_EQ(attribute(saved("plain"), "user.note"), kNote);
}

TEST_F(FileReplace, ATemporaryTakenAwaySaysSo) {
    putBytes(saved("show"), "old");
    const ReplaceHooks takeAway{[&](std::string_view call, std::string_view subject) {
        if (call == "renameat") fs::rename(root_ / "save" / subject, root_ / "elsewhere" / "taken");
        return 0;
    }};
    EXPECT_EQ(saveNew(saved("show"), &takeAway).reason(),
              "its temporary file was moved away or removed by someone else before it took the "
              "name");
    EXPECT_EQ(bytesOf(saved("show")), "old");
}

// A failure of our own always has a reason: no pointer, which could be null,
// is taken for one.
template <class Reason>
concept TakenAsReason = requires(Reason why) {
    WriteResult::failed(why);
}
|| requires(Reason why) {
    WriteResult::refused(why);
};
static_assert(!TakenAsReason<std::nullptr_t> && !TakenAsReason<const char*>);
static_assert(TakenAsReason<const char (&)[5]> && TakenAsReason<Refusal>);

TEST(UniqueFdTest, TakingTheDescriptorItHoldsKeepsItOpen) {
    UniqueFd fd(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    const int held = fd.get();
    fd.reset(held);
    EXPECT_EQ(fd.get(), held);
    EXPECT_GE(::fcntl(held, F_GETFD), 0) << "the descriptor was closed";
}

TEST_F(FileReplace, AFileItsSaverMayNotReadKeepsItsAclButLeavesItsNotesBehind) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to act as another user";
    if (const std::string why = withAclAndNote(saved("show")); !why.empty()) GTEST_SKIP() << why;
    // Her file, which she may write but not read, in her folder.
    const std::string writeOnly = aclBytes(2, 1, 2, 0, 2, 0);
    ASSERT_TRUE(setAttribute(saved("show"), kAcl, writeOnly));
    ASSERT_EQ(::chown(saved("show").c_str(), kOther, kOther), 0);
    ASSERT_EQ(::chown((root_ / "save").c_str(), kOther, kOther), 0);
    ASSERT_EQ(::chmod(root_.c_str(), 0755), 0);
    ASSERT_TRUE(savedAsOther(saved("show")));
    EXPECT_EQ(bytesOf(saved("show")), "new");
    EXPECT_EQ(attribute(saved("show"), kAcl), writeOnly);
    EXPECT_FALSE(attribute(saved("show"), "user.note").has_value());
}

TEST_F(FileReplace, ASecondUserWithAclWriteAccessKeepsTheOwnersFileAsItWas) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to act as two other users";
    constexpr uid_t kHer = 12346;
    // Her folder and file, 0700 and 0600, with an ACL that lets the other
    // user write.
    const std::string folder = (root_ / "save").string(), show = saved("show");
    const std::string fileAcl = aclBytes(6, kOther, 6, 0, 6, 0);
    putBytes(show, "old");
    ASSERT_EQ(::chmod(root_.c_str(), 0755), 0);
    for (const auto& [p, mode] : {std::pair{folder, 0700}, {show, 0600}})
        ASSERT_TRUE(::chown(p.c_str(), kHer, kHer) == 0 && ::chmod(p.c_str(), mode) == 0);
    if (!setAttribute(folder, kAcl, aclBytes(7, kOther, 7, 0, 7, 0)) ||
        !setAttribute(show, kAcl, fileAcl))
        GTEST_SKIP() << "the file system keeps no ACL: " << std::strerror(errno);
    const struct stat before = statOf(show);
    ASSERT_TRUE(savedAsOther(show));
    const struct stat after = statOf(show);
    EXPECT_EQ(bytesOf(show), "new");
    EXPECT_EQ(std::tie(after.st_uid, after.st_gid, after.st_mode),
              std::tie(before.st_uid, before.st_gid, before.st_mode));
    EXPECT_EQ(attribute(show, kAcl), fileAcl);
    EXPECT_TRUE(othersIn("show").empty());
}

TEST_F(FileReplace, WrittenInPlaceAFileChangesOnlyOnceItsWholeContentIsMadeAndRoomHeld) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to give a file to another user";
    putBytes(saved("show"), "old");
    ASSERT_EQ(::chown(saved("show").c_str(), kOther, kOther), 0);
    const struct stat before = statOf(saved("show"));
    // As for a process that may not give the new file her owner; one other
    // call fails with `error` besides.
    const auto save = [&](const std::string& content, std::string_view failing, int error) {
        const ReplaceHooks hooks{[&](std::string_view call, std::string_view) {
            if (call == "fchown") return EPERM;
            return call == failing ? error : 0;
        }};
        const ScopedReplaceHooks scope(&hooks);
        return replaceFile(saved("show"), [&](int fd) {
            const bool written = writeText(fd, content);
            errno = ENOSPC;
            return written && failing != "write";
        });
    };
    const std::string large(300000, 'L');
    for (const std::string_view step : {"write", "fallocate"}) {
        EXPECT_EQ(save(large, step, ENOSPC).reason(), "No space left on device") << step;
        EXPECT_EQ(bytesOf(saved("show")), "old") << step;
    }
    EXPECT_TRUE(save(large, "fallocate", EOPNOTSUPP)) << "a file system that reserves no room";
    EXPECT_EQ(bytesOf(saved("show")), large);
    EXPECT_TRUE(save("short", "", 0));
    EXPECT_EQ(bytesOf(saved("show")), "short");
    const struct stat after = statOf(saved("show"));
    EXPECT_EQ(std::tie(after.st_ino, after.st_uid, after.st_mode),
              std::tie(before.st_ino, before.st_uid, before.st_mode));
    EXPECT_TRUE(othersIn("show").empty());
}

TEST_F(FileReplace, AnAttributeThatChangesAsItIsReadIsReadAgainNeverPadded) {
    // The value changes right after its size is asked.
    for (const auto& [was, becomes, kept] :
         {std::tuple{"", "hello", ""}, {"abc", "hello!", "hello!"}, {"hello", "abc", "abc"}}) {
        putBytes(saved("show"), "old");
        if (!setAttribute(saved("show"), "user.v", was)) GTEST_SKIP() << std::strerror(errno);
        int reads = 0;
        const ReplaceHooks changes{[&](std::string_view call, std::string_view subject) {
            if (call == "fgetxattr" && subject == "user.v" && ++reads == 2) {
                EXPECT_TRUE(setAttribute(saved("show"), "user.v", becomes));
            }
            return 0;
        }};
        EXPECT_TRUE(saveNew(saved("show"), &changes));
        EXPECT_EQ(attribute(saved("show"), "user.v"), kept) << was;
    }
}

// The capabilities of this process less CAP_FOWNER, as a hardened service's.
bool dropFowner() {
    __user_cap_header_struct head{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2]{};
    if (::syscall(SYS_capget, &head, caps) != 0) return false;
    caps[0].effective &= ~(1u << CAP_FOWNER);
    return ::syscall(SYS_capset, &head, caps) == 0;
}

TEST_F(FileReplace, WrittenInPlaceTheOldContentIsKeptAsideUnderALockAndPutBackWhenTheCopyFails) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to act as another user";
    // Root saves another user's file: it may not give a new file her owner
    // (Root), or may but then not her mode or attributes.
    enum class Saver { Root, RootKeepingOwner, RootWithoutFowner, Other };
    struct Case {
        Saver saver;
        std::string_view call, subject;  // fails the `from`th to `last`th of these calls
        int from, last, error;
        std::string reason;  // "" when saved; else how it starts
        mode_t folderMode = 0755;
        bool locked = false;  // another open file description holds the lock
        off_t oldSize = 200000;
    };
    constexpr int kAll = INT_MAX;
    const std::string full = "No space left on device";
    const std::string back = "; it was written into and then put back as it was";
    const std::string notAside = "its old content cannot be kept aside to write it in place: ";
    const std::vector<Case> cases{
        {Saver::Root, "pwrite", "show", 1, 1, ENOSPC, full + back},
        {Saver::Root, "pwrite", "show", 3, 3, ENOSPC, full + back},
        {Saver::Root, "fsync", "", 1, 1, EIO, "Input/output error" + back},
        {Saver::Root, "pwrite", "show", 2, kAll, ENOSPC, full + "; it may be damaged: its old"},
        {Saver::Root, "pwrite", "", 1, kAll, ENOSPC, notAside + full},
        {Saver::RootKeepingOwner, "fchmod", "", 1, kAll, EPERM, ""},
        {Saver::RootKeepingOwner, "fsetxattr", "user.note", 1, kAll, EPERM, ""},
        {Saver::Root, "openat", "", 1, kAll, EOPNOTSUPP, ""},  // no nameless temporary
        {Saver::Root, "", "", 0, 0, 0, "another program is writing it", 0755, true},
        {Saver::RootWithoutFowner, "openat", "", 1, kAll, EOPNOTSUPP, "", 01777},
        {Saver::Other, "", "", 0, 0, 0, "", 0555},
        {Saver::Other, "", "", 0, 0, 0,
         notAside + "its folder holds no copy, and it is larger than 64 MiB", 0555, false,
         off_t(kMaxSavedBytes) + 1},
    };
    const std::string fresh(300000, 'N'), show = saved("show");
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases.data());
        fs::remove_all(root_ / "save");
        fs::create_directories(root_ / "save");
        putBytes(show, std::string(200000, 'o'));
        fs::resize_file(show, static_cast<uintmax_t>(c.oldSize));
        const std::string old = bytesOf(show);
        ASSERT_TRUE(setAttribute(show, "user.note", kNote)) << std::strerror(errno);
        const uid_t hers = c.saver == Saver::Other ? 0 : kOther;
        const uid_t folderOwner = (c.folderMode & S_ISVTX) != 0 ? hers : 0;
        for (const auto& [p, owner, mode] : {std::tuple{show, hers, mode_t{0666}},
                                             {(root_ / "save").string(), folderOwner, c.folderMode},
                                             {root_.string(), uid_t{0}, mode_t{0755}}})
            ASSERT_TRUE(::chown(p.c_str(), owner, owner) == 0 && ::chmod(p.c_str(), mode) == 0);
        const struct stat before = statOf(show);
        const UniqueFd holder(::open(show.c_str(), O_RDWR));
        const struct flock whole { F_WRLCK, SEEK_SET, 0, 0, 0 };
        ASSERT_TRUE(!c.locked || ::fcntl(holder.get(), F_OFD_SETLK, &whole) == 0);
        const std::string why = kavrel_test::inChild([&] {
            int seen = 0;
            const ReplaceHooks hooks{[&](std::string_view call, std::string_view subject) {
                if (call == "fchown" && c.saver == Saver::Root) return EPERM;
                if (call != c.call || subject != c.subject) return 0;
                return ++seen >= c.from && seen <= c.last ? c.error : 0;
            }};
            if (c.saver == Saver::Other ? !becomeOther()
                                        : c.saver == Saver::RootWithoutFowner && !dropFowner())
                return std::string("cannot act as the saver");
            const ScopedReplaceHooks scope(&hooks);
            return replaceFile(show, [&](int fd) { return writeText(fd, fresh); }).reason();
        });
        EXPECT_EQ(why.substr(0, c.reason.empty() ? why.size() : c.reason.size()), c.reason) << why;
        const struct stat after = statOf(show);
        EXPECT_EQ(std::tie(after.st_ino, after.st_uid, after.st_mode),
                  std::tie(before.st_ino, before.st_uid, before.st_mode));
        EXPECT_EQ(attribute(show, "user.note"), kNote);
        std::vector<std::string> left;
        for (const std::string& name : othersIn("show")) left.push_back(bytesOf(saved(name)));
        std::sort(left.begin(), left.end());
        // Damaged, it has its old content and the new beside it.
        const bool damaged = why.find("damaged") != std::string::npos;
        EXPECT_TRUE(left == (damaged ? std::vector{fresh, old} : std::vector<std::string>{}));
        EXPECT_TRUE(damaged || bytesOf(show) == (c.reason.empty() ? fresh : old));
        // Blocks held for the new length are given back with a failure.
        EXPECT_TRUE(damaged || c.reason.empty() || after.st_blocks == before.st_blocks);
    }
}

}  // namespace
}  // namespace platform
