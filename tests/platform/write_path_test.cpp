#include "platform/write_path.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/fs.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

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

// What `act` came to in a child process that `become` made first: the
// result's reason, "" when done; nullopt when the system refused `become`.
std::optional<std::string> inChild(const std::function<bool()>& become,
                                   const std::function<WriteResult()>& act) {
    int out[2];
    if (::pipe(out) != 0) return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(out[0]);
        if (!become()) ::_exit(2);
        const std::string reason = act().reason();
        ::_exit(writeAll(out[1], reason.data(), reason.size()) ? 0 : 1);
    }
    ::close(out[1]);
    std::string reason;
    char buffer[512];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        reason.append(buffer, size_t(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 2) return std::nullopt;
    return reason;
}

bool becomeUser(uid_t id) {
    // Dumpable again, so that its own files in /proc stay its own.
    return ::setgroups(0, nullptr) == 0 && ::setgid(id) == 0 && ::setuid(id) == 0 &&
           ::prctl(PR_SET_DUMPABLE, 1) == 0;
}

bool putText(const char* p, const std::string& text) {
    const UniqueFd fd(::open(p, O_WRONLY | O_CLOEXEC));
    return fd && writeAll(fd.get(), text.data(), text.size());
}

// User `id` in a user namespace of its own, as `unshare -U -r` makes it (its
// id is 0 there, every other shows as the overflow id) or, unmapped, as
// `unshare -U` does (every id, its own too, shows so).
bool inUserNamespace(uid_t id, bool mapped) {
    if (!becomeUser(id) || ::unshare(CLONE_NEWUSER) != 0) return false;
    const std::string map = "0 " + std::to_string(id) + " 1";
    return !mapped || (putText("/proc/self/setgroups", "deny") &&
                       putText("/proc/self/uid_map", map) && putText("/proc/self/gid_map", map));
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
    EXPECT_EQ(save(file, &noProc).refusal(), Refusal::NoProcFs);
    // In place, without the proc file system the name is opened, and must
    // still be the file looked at.
    int opens = 0;
    const ReplaceHooks swapped{[&](std::string_view call, std::string_view subject) {
        if (call == "openat" && subject == "show.Kavrel" && ++opens == 2) {
            fs::remove(file);
            std::ofstream(file) << "another";
        }
        return call == "access" ? ENOENT : 0;
    }};
    EXPECT_FALSE(writeInto(file, &swapped));
    EXPECT_EQ(bytesOf(file), "another");
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

TEST_F(WritePath, AnOwnerAUserNamespaceCannotTellApartIsNoOnesInASharedFolder) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to act as other users";
    constexpr uid_t kSaver = 12346, kOther = 12345, kNobody = 65534;
    const std::string unknownLink =
        "it is reached through a link in a folder everyone may write to, whose owner cannot be "
        "told apart in this user namespace";
    const std::string unknownFile =
        "it is in a folder everyone may write to, and its owner cannot be told apart in this "
        "user namespace";
    enum Saver { Outside, Mapped, Unmapped };
    struct Case {
        const char* name;
        Saver saver;
        uid_t saverId;
        uid_t owner;  // of the link, or of the file put in the shared folder
        bool link;
        bool inPlace;  // opened as the DMX log is, not replaced
        std::string reason;
    };
    const Case cases[] = {
        {"her-link", Mapped, kSaver, kOther, true, false, unknownLink},
        {"her-file", Mapped, kSaver, kOther, false, false, unknownFile},
        {"her-log", Mapped, kSaver, kOther, false, true, unknownFile},
        {"own-link", Mapped, kSaver, kSaver, true, false, ""},
        // The accepted cost: without a map its own id shows as the overflow id.
        {"own-unmapped", Unmapped, kSaver, kSaver, true, false, unknownLink},
        {"her-link-outside", Outside, kSaver, kOther, true, false,
         "it is reached through a link another user made in a folder everyone may write to"},
        // Outside a namespace the overflow id is a user as any other.
        {"nobody-outside", Outside, kNobody, kNobody, true, true, ""},
    };
    const fs::path open = root_ / "open";
    fs::create_directories(open);
    ASSERT_EQ(::chmod(open.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(root_.c_str(), 0755), 0);
    for (const Case& c : cases) {
        const std::string target = ((c.link ? open : shared_) / c.name).string();
        std::ofstream(target) << "old";
        ASSERT_EQ(::chown(target.c_str(), c.link ? c.saverId : c.owner, c.owner), 0);
        ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
        const std::string named = (shared_ / c.name).string();
        if (c.link) {
            fs::create_symlink(target, named);
            ASSERT_EQ(::lchown(named.c_str(), c.owner, c.owner), 0);
        }
        const std::optional<std::string> reason = inChild(
            [&] {
                return c.saver == Outside ? becomeUser(c.saverId)
                                          : inUserNamespace(c.saverId, c.saver == Mapped);
            },
            [&] { return c.inPlace ? writeInto(named) : save(named); });
        if (!reason) GTEST_SKIP() << "no user namespace for another user here";
        EXPECT_EQ(*reason, c.reason) << c.name;
        EXPECT_EQ(bytesOf(target), c.reason.empty() ? "new" : "old") << c.name;
    }
}

TEST_F(WritePath, ALinkOnTheProcFileSystemLeadsWhereTheKernelLeads) {
    // A process in a mount namespace of its own, with its own tmpfs where
    // the host has a folder holding a file of the same name.
    const fs::path hidden = root_ / "ns";
    fs::create_directories(hidden);
    std::ofstream(hidden / "show.Kavrel") << "host";
    int ready[2], done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t other = ::fork();
    if (other == 0) {
        ::close(ready[0]);
        ::close(done[1]);
        const bool made = ::unshare(CLONE_NEWNS) == 0 &&
                          ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                          ::mount("tmpfs", hidden.c_str(), "tmpfs", 0, "mode=0755") == 0 &&
                          (std::ofstream(hidden / "show.Kavrel") << "ns").good() &&
                          ::chdir(hidden.c_str()) == 0;
        const char said = made ? 'y' : 'n';
        (void)!::write(ready[1], &said, 1);
        char none = 0;
        (void)!::read(done[0], &none, 1);
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(done[0]);
    char said = 0;
    const bool made = ::read(ready[0], &said, 1) == 1 && said == 'y';
    ::close(ready[0]);
    const auto finish = [&] {
        ::close(done[1]);
        ::waitpid(other, nullptr, 0);
    };
    if (!made) {
        finish();
        GTEST_SKIP() << "no mount namespace here";
    }
    const std::string itsRoot = "/proc/" + std::to_string(other) + "/root";
    const std::string itsCwd = "/proc/" + std::to_string(other) + "/cwd";
    // A file open here, one open here whose name is gone, and a pipe.
    const std::string kept = (root_ / "kept.log").string(), gone = (root_ / "gone.log").string();
    std::ofstream(kept) << "old";
    std::ofstream(gone) << "old";
    const UniqueFd keptFd(::open(kept.c_str(), O_RDWR | O_CLOEXEC));
    const UniqueFd goneFd(::open(gone.c_str(), O_RDWR | O_CLOEXEC));
    ASSERT_EQ(::unlink(gone.c_str()), 0);
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const UniqueFd pipeOut(pipeFds[0]), pipeIn(pipeFds[1]);
    const std::string fdFolder = fs::exists("/dev/fd/") ? "/dev/fd/" : "/proc/self/fd/";
    const auto fdPath = [&](const UniqueFd& fd) { return fdFolder + std::to_string(fd.get()); };
    struct Case {
        std::string path;
        bool inPlace;
        std::string reason;
        std::string readBack;  // where what was written shows, through the kernel
    };
    const Case cases[] = {
        {itsRoot + hidden.string() + "/show.Kavrel", false, "",
         itsRoot + hidden.string() + "/show.Kavrel"},
        {itsCwd + "/d.log", true, "", itsCwd + "/d.log"},
        {fdPath(keptFd), false, "", kept},
        {fdPath(keptFd), true, "", kept},
        {fdPath(goneFd), false, "it has been deleted", ""},
        {fdPath(goneFd), true, "it has been deleted", ""},
        {fdPath(pipeIn), false, "it is not a regular file", ""},
        {fdPath(pipeIn), true, "it is not a regular file", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ((c.inPlace ? writeInto(c.path) : save(c.path)).reason(), c.reason) << c.path;
        if (!c.readBack.empty()) {
            EXPECT_EQ(bytesOf(c.readBack), "new") << c.path;
        }
    }
    finish();
    // Nothing written to the host's file of the same name, nor a file made
    // after the text of a link the kernel follows.
    EXPECT_EQ(bytesOf((hidden / "show.Kavrel").string()), "host");
    EXPECT_FALSE(fs::exists(hidden / "d.log"));
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(root_))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"kept.log", "ns", "secret", "shared"}));
    // The open file was written in place.
    EXPECT_EQ(identityOfDescriptor(keptFd.get()), identityOf(kept));
}

}  // namespace
}  // namespace platform
