#include "platform/write_path.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/fd_write.h"
#include "platform/file_replace.h"
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

WriteResult save(const std::string& p, const ReplaceHooks* hooks = nullptr) {
    return replaceFile(
        p, [](int fd) { return writeAll(fd, "new", 3); }, {}, hooks);
}

// Writes "new" into `p` opened in place, as the DMX log is.
WriteResult writeInto(const std::string& p, const ReplaceHooks* hooks = nullptr) {
    UniqueFd fd;
    WriteResult opened = openForWriting(p, fd, {}, hooks);
    if (opened && !writeAll(fd.get(), "new", 3)) return WriteResult::failed(errno);
    return opened;
}

// A shared sticky folder as /tmp is, the superuser's, and a file of the
// superuser's that only it may read.
class WritePath : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(shared_);
        ASSERT_EQ(::chmod(shared_.c_str(), 01777), 0);
        std::ofstream(secret_) << "secret";
    }
    // Something at `at`, given to her.
    static void hers(const fs::path& at) { ASSERT_EQ(::lchown(at.c_str(), kHer, kHer), 0); }
    kavrel_test::TempFolder folder_{"kavrel-write-path"};
    const fs::path root_ = folder_.path();
    const fs::path shared_ = root_ / "shared";
    const std::string secret_ = (root_ / "secret").string();
};

TEST_F(WritePath, AnotherUsersLinkInASharedFolderIsNotFollowedWhereverItStands) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to give links to another user";
    // Her link to her folder, holding her link to the secret; her link to a
    // folder only the superuser may enter; this user's link through hers.
    fs::create_directories(root_ / "hers");
    fs::create_directories(root_ / "guarded");
    fs::create_directory_symlink(root_ / "hers", shared_ / "proj");
    fs::create_symlink(secret_, root_ / "hers/show.Kavrel");
    fs::create_directory_symlink(root_ / "guarded", shared_ / "p2");
    for (const char* p : {"hers", "hers/show.Kavrel", "shared/proj", "shared/p2"}) hers(root_ / p);
    fs::create_symlink("proj/show.Kavrel", shared_ / "mine");
    for (const char* p : {"proj/show.Kavrel", "p2/new.Kavrel", "mine", "proj/dmx.log"}) {
        EXPECT_EQ(save((shared_ / p).string()).error(), EACCES) << p;
        EXPECT_EQ(writeInto((shared_ / p).string()).error(), EACCES) << p;
    }
    EXPECT_EQ(bytesOf(secret_), "secret");
    EXPECT_TRUE(fs::is_empty(root_ / "guarded"));
    // This user's links are followed, in the folder part too, and `..` is
    // the folder the file system gives.
    fs::create_directory_symlink(root_ / "guarded", shared_ / "own");
    EXPECT_TRUE(save((shared_ / "own/../guarded/new.Kavrel").string()));
    EXPECT_EQ(bytesOf((root_ / "guarded/new.Kavrel").string()), "new");
}

TEST_F(WritePath, AnotherUsersFileInASharedFolderIsNeitherReplacedNorWrittenInto) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to give a file to another user";
    const std::string planted = (shared_ / "show.Kavrel").string();
    std::ofstream(planted) << "hers";
    hers(planted);
    ASSERT_EQ(::chmod(planted.c_str(), 0666), 0);
    EXPECT_EQ(save(planted).reason(),
              "it is another user's file in a folder everyone may write to");
    EXPECT_EQ(writeInto(planted).refusal(), Refusal::OthersFile);
    EXPECT_EQ(bytesOf(planted), "hers");
    // Where the folder is not shared that way, it is replaced.
    ASSERT_EQ(::chmod(shared_.c_str(), 0777), 0);
    EXPECT_TRUE(save(planted));
}

TEST_F(WritePath, TheSystemSaysWhetherAFileMayBeWrittenAndItIsOpenedAsLookedAt) {
    const std::string file = (root_ / "show.Kavrel").string();
    std::ofstream(file) << "old";
    const auto answered = [](int error) {
        return ReplaceHooks{[error](std::string_view call, std::string_view) {
            return call == "access" ? error : 0;
        }};
    };
    const ReplaceHooks readOnlyMount = answered(EROFS), noProc = answered(ENOENT);
    EXPECT_EQ(save(file, &readOnlyMount).reason(), "Read-only file system");
    EXPECT_TRUE(save(file, &noProc));
    // Without the proc file system the name is opened, for a save as in
    // place, and must still be the file looked at.
    for (const auto into : {&writeInto, &save}) {
        int opens = 0;
        const ReplaceHooks swapped{[&](std::string_view call, std::string_view subject) {
            if (call == "openat" && subject == "show.Kavrel" && ++opens == 2) {
                fs::remove(file);
                std::ofstream(file) << "another";
            }
            return call == "access" ? ENOENT : 0;
        }};
        EXPECT_FALSE(into(file, &swapped));
        EXPECT_EQ(bytesOf(file), "another");
    }
    EXPECT_TRUE(writeInto(file, &noProc));
    EXPECT_EQ(bytesOf(file), "newther");
    // With it, a FIFO put at the name after the look is never opened.
    const auto looked = identityOf(file);
    const ReplaceHooks fifo{[&](std::string_view call, std::string_view) {
        if (call == "open" && fs::remove(file)) ::mkfifo(file.c_str(), 0600);
        return 0;
    }};
    UniqueFd fd;
    ASSERT_TRUE(openForWriting(file, fd, {}, &fifo));
    EXPECT_EQ(identityOfDescriptor(fd.get()), looked);
    // A file that appears at a new name before it is made is walked to anew.
    const std::string fresh = (root_ / "fresh.log").string();
    int looks = 0;
    const ReplaceHooks appears{[&](std::string_view call, std::string_view subject) {
        if (call == "openat" && subject == "fresh.log" && ++looks == 2) std::ofstream(fresh) << "x";
        return 0;
    }};
    EXPECT_TRUE(writeInto(fresh, &appears));
    EXPECT_EQ(looks, 3);
}

TEST_F(WritePath, ASaveWorksWhereTheNewerPermissionCallFails) {
    const std::string file = (root_ / "show.Kavrel").string();
    std::ofstream(file) << "old";
    // As an older kernel (ENOSYS, which the C library turns into EINVAL) or
    // a container's filter (EPERM) answers faccessat2.
    for (const unsigned error : {ENOSYS, EINVAL, EPERM}) {
        const pid_t child = ::fork();
        if (child == 0) {
            sock_filter filter[] = {BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
                                    BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_faccessat2, 0, 1),
                                    BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | error),
                                    BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW)};
            const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
            if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
                ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
                ::_exit(3);
            // The call the save once made now fails.
            if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EMPTY_PATH) == 0) ::_exit(4);
            ::_exit(save(file) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "no system call filter here";
        EXPECT_EQ(WEXITSTATUS(status), 0) << "error " << error;
    }
    EXPECT_EQ(bytesOf(file), "new");
}

}  // namespace
}  // namespace platform
