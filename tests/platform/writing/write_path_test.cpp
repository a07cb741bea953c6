#include "platform/writing/write_path.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/files/fd_write.h"
#include "platform/writing/file_replace.h"
#include "tests/support/identity_of.h"
#include "tests/support/in_child.h"
#include "tests/support/scoped_replace_hooks.h"
#include "tests/support/temp_folder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// Another user, who may write to the shared folder.
constexpr uid_t kHer = 65534;

std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

WriteResult save(const std::string& p, const ReplaceHooks* hooks = nullptr) {
    const ScopedReplaceHooks scope(hooks);
    return replaceFile(p, [](int fd) { return writeAll(fd, "new", 3); });
}

// Writes "new" into `p` opened in place, as the DMX log is.
WriteResult writeInto(const std::string& p, const ReplaceHooks* hooks = nullptr) {
    const ScopedReplaceHooks scope(hooks);
    UniqueFd fd;
    WriteResult opened = openForWriting(p, fd);
    if (opened && !writeAll(fd.get(), "new", 3)) return WriteResult::failed(errno);
    return opened;
}

// Writes "new" to a path in a child process its `become` made first, in
// place (as the DMX log is) or replacing it; expected: done, or the refusal.
using Write = std::tuple<std::function<bool()>, std::string, bool, std::optional<Refusal>>;
// Makes each write; false when the system refused one its `become`.
bool writeEach(const std::vector<Write>& writes) {
    for (const auto& [become, path, inPlace, refusal] : writes) {
        const std::string why = kavrel_test::inChild([&become = become, &p = path, in = inPlace] {
            return become() ? (in ? writeInto(p) : save(p)).reason() : "cannot become";
        });
        if (why == "cannot become") return false;
        EXPECT_EQ(why, refusal ? WriteResult::refused(*refusal).reason() : "") << path;
    }
    return true;
}

// User `id`, in a user namespace of its own when `ns`: mapped as `unshare -U
// -r` maps it (0 there, every other id shows as the overflow id) or not at
// all, as `unshare -U` leaves it. Dumpable, so that /proc/self stays its own.
std::function<bool()> as(uid_t id, bool ns = false, bool mapped = false) {
    return [=] {
        const std::string map = "0 " + std::to_string(id) + " 1";
        const auto put = [](const char* p, const std::string& text) {
            return (std::ofstream(p) << text).good();
        };
        return ::setgroups(0, nullptr) == 0 && ::setgid(id) == 0 && ::setuid(id) == 0 &&
               ::prctl(PR_SET_DUMPABLE, 1) == 0 && (!ns || ::unshare(CLONE_NEWUSER) == 0) &&
               (!mapped || (put("/proc/self/setgroups", "deny") && put("/proc/self/uid_map", map) &&
                            put("/proc/self/gid_map", map)));
    };
}

// In a mount namespace of its own, with `from` mounted on `onto` there alone.
std::function<bool()> mounted(const fs::path& from, const fs::path& onto, const char* type,
                              int flags) {
    return [=] {
        return ::unshare(CLONE_NEWNS) == 0 &&
               ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
               ::mount(from.c_str(), onto.c_str(), type, unsigned(flags), nullptr) == 0;
    };
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
        EXPECT_EQ(save((shared_ / p).string()).refusal(), Refusal::OthersLink) << p;
        EXPECT_EQ(writeInto((shared_ / p).string()).refusal(), Refusal::OthersLink) << p;
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
    const auto looked = kavrel_test::identityOf(file);
    const ReplaceHooks fifo{[&](std::string_view call, std::string_view) {
        if (call == "open" && fs::remove(file)) ::mkfifo(file.c_str(), 0600);
        return 0;
    }};
    UniqueFd fd;
    const ScopedReplaceHooks scope(&fifo);
    ASSERT_TRUE(openForWriting(file, fd));
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
        const std::string why = kavrel_test::inChild([&] {
            sock_filter filter[] = {BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
                                    BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_faccessat2, 0, 1),
                                    BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | error),
                                    BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW)};
            const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
            if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
                ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
                return std::string("no system call filter here");
            // The call the save once made now fails.
            if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EMPTY_PATH) == 0)
                return std::string("the newer call works");
            return save(file).reason();
        });
        if (why == "no system call filter here") GTEST_SKIP() << why;
        EXPECT_EQ(why, "") << "error " << error;
    }
    EXPECT_EQ(bytesOf(file), "new");
}

TEST_F(WritePath, AnOwnerAUserNamespaceCannotTellApartIsNoOnesInASharedFolder) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to act as other users";
    // In the shared folder: files of hers, the saver's and the overflow id's
    // that anyone may write, each with a link of its owner's to it.
    constexpr uid_t kSaver = 12346, kOther = 12345;
    const std::string at = shared_.string() + "/";
    ASSERT_EQ(::chmod(root_.c_str(), 0755), 0);
    for (const auto& [name, owner] :
         {std::pair{"her", kOther}, {"own", kSaver}, {"nobody", kHer}}) {
        const std::string file = at + name + ".log", link = at + name;
        std::ofstream(file) << "old";
        fs::create_symlink(file, link);
        ASSERT_EQ(::chown(file.c_str(), owner, 0) | ::chmod(file.c_str(), 0666) |
                      ::lchown(link.c_str(), owner, 0),
                  0);
    }
    if (!writeEach({{as(kSaver, true, true), at + "her", false, Refusal::UnknownLinkOwner},
                    {as(kSaver, true, true), at + "her.log", false, Refusal::UnknownOwner},
                    {as(kSaver, true, true), at + "her.log", true, Refusal::UnknownOwner},
                    {as(kSaver, true, true), at + "own", false, {}},
                    // The accepted cost: unmapped, its own id is the overflow id.
                    {as(kSaver, true), at + "own", true, Refusal::UnknownLinkOwner},
                    // Outside a namespace the overflow id is a user as any other.
                    {as(kHer), at + "nobody", true, {}}}))
        GTEST_SKIP() << "no user namespace for another user here";
    EXPECT_EQ(bytesOf(at + "her.log") + bytesOf(at + "own.log") + bytesOf(at + "nobody.log"),
              "oldnewnew");
}

TEST_F(WritePath, ALinkOnTheProcFileSystemLeadsWhereTheKernelLeads) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to mount";
    // From a mount namespace with a tmpfs of its own at `ns`, /proc/PID/root
    // leads to this one's; a file open here, one whose name is gone, a pipe.
    const fs::path ns = root_ / "ns", kept = root_ / "kept", gone = root_ / "gone";
    const std::string here = "/proc/" + std::to_string(::getpid()) + "/root" + ns.string();
    fs::create_directories(ns);
    for (const fs::path& p : {ns / "show", kept, gone}) std::ofstream(p) << "old";
    const UniqueFd keptFd(::open(kept.c_str(), O_RDWR)), goneFd(::open(gone.c_str(), O_RDWR));
    int pipeFds[2];
    ASSERT_TRUE(::pipe(pipeFds) == 0 && ::unlink(gone.c_str()) == 0);
    const UniqueFd pipeOut(pipeFds[0]), pipeIn(pipeFds[1]);
    const auto at = [](const UniqueFd& fd) { return "/dev/fd/" + std::to_string(fd.get()); };
    const auto ownTmpfs = mounted("tmpfs", ns, "tmpfs", 0), asIs = as(0);
    if (!writeEach({{ownTmpfs, here + "/show", false, {}},
                    {ownTmpfs, here + "/d.log", true, {}},
                    {asIs, at(keptFd), false, {}},
                    {asIs, at(goneFd), false, Refusal::Deleted},
                    {asIs, at(goneFd), true, Refusal::Deleted},
                    {asIs, at(pipeIn), true, Refusal::NotRegular}}))
        GTEST_SKIP() << "no mount namespace here";
    // Written where the kernel led, the open file in place; no file made
    // after a link's text ("gone (deleted)").
    EXPECT_EQ(bytesOf(ns / "show") + bytesOf(ns / "d.log") + bytesOf(kept), "newnewnew");
    EXPECT_EQ(identityOfDescriptor(keptFd.get()), kavrel_test::identityOf(kept));
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 4);
}

TEST_F(WritePath, ARefusalSaysWhatKeepsTheFileFromBeingWritten) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to mark files, mount, be another";
    // Immutable, append-only, a file mounted over, one only its owner may write.
    const std::string at = root_.string() + "/";
    for (const char* name : {"i", "a", "m", "o"}) std::ofstream(at + name) << "old";
    ASSERT_EQ(::chmod(root_.c_str(), 0777) | ::chmod((at + "o").c_str(), 0644), 0);
    const bool made =
        std::system(("chattr -f +i " + at + "i && chattr -f +a " + at + "a").c_str()) == 0 &&
        writeEach(
            {{as(0), at + "i", false, Refusal::Unchangeable},
             {as(0), at + "a", false, Refusal::Unchangeable},
             {as(0), at + "a", true, Refusal::Unchangeable},
             {mounted(secret_, at + "m", nullptr, MS_BIND), at + "m", false, Refusal::MountPoint},
             {as(kHer), at + "o", false, Refusal::NotWritable}});
    (void)!std::system(("chattr -f -i -a " + at + "i " + at + "a").c_str());
    if (!made) GTEST_SKIP() << "cannot mark files, mount or be another user here";
    for (const char* name : {"i", "a", "m", "o"}) EXPECT_EQ(bytesOf(at + name), "old") << name;
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 6);
}

}  // namespace
}  // namespace platform
