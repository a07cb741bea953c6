#include "platform/write_path.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/fd_write.h"
#include "platform/file_replace.h"
#include "platform/text_file.h"
#include "tests/support/temp_folder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// Another user, who may write to the shared folder.
constexpr uid_t kHer = 65534;

std::string bytesOf(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

WriteResult save(const std::string& p, const ProtectedFiles& keep = {},
                 const ReplaceHooks* hooks = nullptr) {
    return replaceFile(
        p, [](int fd) { return writeAll(fd, "new", 3); }, keep, hooks);
}

// Writes "new" into `p` opened in place.
WriteResult writeInto(const std::string& p, const ProtectedFiles& keep = {},
                      const ReplaceHooks* hooks = nullptr) {
    UniqueFd fd;
    WriteResult opened = openForWriting(p, fd, keep, hooks);
    if (opened && !writeAll(fd.get(), "new", 3)) return WriteResult::failed(errno);
    return opened;
}

// A shared sticky folder as /tmp is, the superuser's, and a file of the
// superuser's that only it may read.
class WritePath : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::chmod(root_.c_str(), 0755), 0);
        fs::create_directories(shared_);
        ASSERT_EQ(::chmod(shared_.c_str(), 01777), 0);
        std::ofstream(secret_) << "secret";
        ASSERT_EQ(::chmod(secret_.c_str(), 0600), 0);
    }
    // A link at `at` to `to`, hers.
    static void herLink(const fs::path& to, const fs::path& at) {
        fs::create_symlink(to, at);
        ASSERT_EQ(::lchown(at.c_str(), kHer, kHer), 0);
    }
    kavrel_test::TempFolder folder_{"kavrel-write-path"};
    const fs::path root_ = folder_.path();
    const fs::path shared_ = root_ / "shared";
    const std::string secret_ = (root_ / "secret").string();
};

TEST_F(WritePath, AnotherUsersLinkInASharedFolderIsNotFollowedWhereverItStands) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to give links to another user";
    // Her folder, reached through her link; in it her link to the secret.
    const fs::path hers = root_ / "hers";
    fs::create_directories(hers);
    ASSERT_EQ(::chown(hers.c_str(), kHer, kHer), 0);
    herLink(hers, shared_ / "proj");
    herLink(secret_, hers / "show.Kavrel");
    const auto project = [](TextFileWriter& w) { return w.writeLine("project"); };
    const std::string show = (shared_ / "proj/show.Kavrel").string();
    EXPECT_EQ(replaceFileAtomically(show, project).error(), EACCES);
    EXPECT_EQ(bytesOf(secret_), "secret");
    // Her link to a folder only the superuser may enter.
    const fs::path guarded = root_ / "guarded";
    fs::create_directories(guarded);
    ASSERT_EQ(::chmod(guarded.c_str(), 0700), 0);
    herLink(guarded, shared_ / "p2");
    EXPECT_EQ(save((shared_ / "p2/new.Kavrel").string()).error(), EACCES);
    EXPECT_FALSE(fs::exists(guarded / "new.Kavrel"));
    // Nor when this user's own link leads through hers, nor written in place.
    fs::create_symlink("proj/show.Kavrel", shared_ / "mine");
    EXPECT_EQ(save((shared_ / "mine").string()).error(), EACCES);
    EXPECT_EQ(writeInto((shared_ / "proj/dmx.log").string()).error(), EACCES);
    EXPECT_FALSE(fs::exists(hers / "dmx.log"));
    // This user's links are followed, in the folder part too, and `..` is
    // the folder the file system gives.
    fs::create_directory_symlink(guarded, shared_ / "own");
    EXPECT_TRUE(save((shared_ / "own/../guarded/x").string()));
    EXPECT_TRUE(save((shared_ / "own/new.Kavrel").string()));
    EXPECT_EQ(bytesOf((guarded / "new.Kavrel").string()), "new");
}

TEST_F(WritePath, AnotherUsersFileInASharedFolderIsNeitherReplacedNorWrittenInto) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to give a file to another user";
    const std::string planted = (shared_ / "show.Kavrel").string();
    std::ofstream(planted) << "hers";
    ASSERT_EQ(::chown(planted.c_str(), kHer, kHer), 0);
    ASSERT_EQ(::chmod(planted.c_str(), 0666), 0);
    const WriteResult saved = save(planted);
    EXPECT_EQ(saved.refusal(), Refusal::OthersFile);
    EXPECT_EQ(saved.reason(), "it is another user's file in a folder everyone may write to");
    EXPECT_EQ(writeInto(planted).refusal(), Refusal::OthersFile);
    EXPECT_EQ(bytesOf(planted), "hers");
    struct stat st {};
    ASSERT_EQ(::stat(planted.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kHer);
    // The folder owner's own file there is written; so is hers where the
    // folder is not shared that way.
    const std::string own = (shared_ / "own.Kavrel").string();
    std::ofstream(own) << "old";
    EXPECT_TRUE(save(own));
    ASSERT_EQ(::chmod(shared_.c_str(), 0777), 0);
    EXPECT_TRUE(save(planted));
}

TEST_F(WritePath, AProtectedFileIsRefusedByAnyNameThatReachesIt) {
    const std::string log = (root_ / "dmx.log").string();
    std::ofstream(log) << "log";
    fs::create_symlink(log, root_ / "link.Kavrel");
    fs::create_hard_link(log, root_ / "hard.Kavrel");
    const ProtectedFiles keep{{0, 1}, *identityOf(log)};
    for (const char* name : {"dmx.log", "link.Kavrel", "hard.Kavrel"}) {
        const std::string p = (root_ / name).string();
        const WriteResult saved = save(p, keep);
        EXPECT_EQ(saved.refusal(), Refusal::InUse) << name;
        EXPECT_EQ(saved.fileInUse(), identityOf(log)) << name;
        EXPECT_EQ(writeInto(p, keep).refusal(), Refusal::InUse) << name;
    }
    EXPECT_EQ(bytesOf(log), "log");
    EXPECT_TRUE(save((root_ / "other.Kavrel").string(), keep));
}

TEST_F(WritePath, TheSystemSaysWhetherAFileMayBeWritten) {
    const std::string file = (root_ / "show.Kavrel").string();
    std::ofstream(file) << "old";
    const auto answered = [](int error) {
        return ReplaceHooks{[error](std::string_view call, std::string_view subject) {
            return call == "access" && subject.rfind("/proc/self/fd/", 0) == 0 ? error : 0;
        }};
    };
    const ReplaceHooks denied = answered(EACCES), readOnlyMount = answered(EROFS);
    const ReplaceHooks noProc = answered(ENOENT);
    EXPECT_EQ(save(file, {}, &denied).refusal(), Refusal::ReadOnly);
    EXPECT_EQ(save(file, {}, &readOnlyMount).reason(), "Read-only file system");
    const WriteResult unasked = save(file, {}, &noProc);
    EXPECT_EQ(unasked.refusal(), Refusal::NoProcFs);
    EXPECT_NE(unasked.reason().find("/proc"), std::string::npos) << unasked.reason();
    EXPECT_EQ(bytesOf(file), "old");
    // Written in place, the open asks the system itself: without the proc
    // file system the name is opened, and must still be the file looked at.
    EXPECT_TRUE(writeInto(file, {}, &noProc));
    EXPECT_EQ(bytesOf(file), "new");
    int opens = 0;
    const ReplaceHooks swapped{[&](std::string_view call, std::string_view subject) {
        if (call == "access") return ENOENT;
        if (call == "openat" && subject == "show.Kavrel" && ++opens == 2) {
            fs::remove(file);
            std::ofstream(file) << "another";
        }
        return 0;
    }};
    EXPECT_FALSE(writeInto(file, {}, &swapped));
    EXPECT_EQ(bytesOf(file), "another");
}

// Makes the faccessat2 call fail with `error` in this process from now on,
// as an older kernel (ENOSYS) or a container's filter (EPERM) does.
bool failFaccessat2(int error) {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_faccessat2, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (static_cast<unsigned>(error) & 0xFFFF)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

TEST_F(WritePath, ASaveWorksWhereTheNewerPermissionCallFails) {
    const std::string file = (root_ / "show.Kavrel").string();
    for (const int error : {ENOSYS, EINVAL, EPERM}) {
        std::ofstream(file) << "old";
        const pid_t child = ::fork();
        if (child == 0) {
            if (!failFaccessat2(error)) ::_exit(3);
            // The call the save once made now fails (EINVAL from the C
            // library for ENOSYS), as it did there.
            const int fd = ::open(file.c_str(), O_PATH);
            if (::faccessat(fd, "", W_OK, AT_EMPTY_PATH) == 0) ::_exit(4);
            ::_exit(save(file) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "no system call filter here";
        EXPECT_EQ(WEXITSTATUS(status), 0) << "error " << error;
        EXPECT_EQ(bytesOf(file), "new") << "error " << error;
    }
}

TEST_F(WritePath, AFileIsOpenedInPlaceAsItWasLookedAtOrMadeNew) {
    const std::string log = (root_ / "dmx.log").string();
    std::ofstream(log) << "old";
    const auto looked = identityOf(log);
    // A FIFO put at its name after the look is never opened: the file
    // looked at is.
    const ReplaceHooks fifo{[&](std::string_view call, std::string_view) {
        if (call == "open") {
            fs::remove(log);
            ::mkfifo(log.c_str(), 0600);
        }
        return 0;
    }};
    UniqueFd fd;
    ASSERT_TRUE(openForWriting(log, fd, {}, &fifo));
    EXPECT_EQ(identityOfDescriptor(fd.get()), looked);
    EXPECT_EQ(::fcntl(fd.get(), F_GETFL) & (O_ACCMODE | O_NONBLOCK), O_WRONLY);
    // A new file is made in the folder walked to; a file that appears at
    // the name meanwhile is taken as found by a second walk.
    const std::string fresh = (root_ / "fresh.log").string();
    int looks = 0;
    const ReplaceHooks appears{[&](std::string_view call, std::string_view subject) {
        if (call == "openat" && subject == "fresh.log" && ++looks == 2) std::ofstream(fresh) << "x";
        return 0;
    }};
    EXPECT_TRUE(writeInto(fresh, {}, &appears));
    EXPECT_GE(looks, 3);
    EXPECT_EQ(bytesOf(fresh), "new");
}

}  // namespace
}  // namespace platform
