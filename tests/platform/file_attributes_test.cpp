#include "platform/file_attributes.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>

#include "platform/fd_write.h"
#include "platform/file_replace.h"
#include "platform/picture_file.h"
#include "platform/text_file.h"
#include "tests/support/temp_folder.h"

namespace platform {
namespace {

constexpr uid_t kOtherUser = 65534;
constexpr const char* kAcl = "system.posix_acl_access";
constexpr const char* kDefaultAcl = "system.posix_acl_default";

// An ACL as the system stores it in its attribute: a version, then entries
// of tag, permissions and id, little-endian.
struct AclEntry {
    uint16_t tag;
    uint16_t perms;
    uint32_t id;
};
constexpr uint16_t kUserObj = 0x01, kUser = 0x02, kGroupObj = 0x04, kMask = 0x10, kOthers = 0x20;
constexpr uint32_t kNoId = 0xFFFFFFFF;

std::string aclBytes(std::initializer_list<AclEntry> entries) {
    std::string bytes;
    const auto put = [&bytes](uint32_t v, int size) {
        for (int i = 0; i < size; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put(2, 4);
    for (const AclEntry& e : entries) {
        put(e.tag, 2);
        put(e.perms, 2);
        put(e.id, 4);
    }
    return bytes;
}

// Read and write for the owner and one named user, nothing for the group:
// `ls` shows 0660, the mask standing in the group's place.
const std::string kNamedUserAcl = aclBytes({{kUserObj, 6, kNoId},
                                            {kUser, 6, kOtherUser},
                                            {kGroupObj, 0, kNoId},
                                            {kMask, 6, kNoId},
                                            {kOthers, 0, kNoId}});
// A note that is no text: a zero byte and a byte above 127.
const std::string kNote("kept\0\xff", 6);

std::optional<std::string> attribute(const std::string& path, const char* name) {
    char buffer[4096];
    const ssize_t n = ::getxattr(path.c_str(), name, buffer, sizeof buffer);
    if (n < 0) return std::nullopt;
    return std::string(buffer, static_cast<size_t>(n));
}

bool setAttribute(const std::string& path, const char* name, const std::string& value) {
    return ::setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0;
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

std::string bytesOf(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void putBytes(const std::string& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

class FileAttributes : public ::testing::Test {
  protected:
    void SetUp() override {
        // The test's folder lies on a file system that may keep neither.
        const std::string probe = file("probe");
        putBytes(probe, "");
        if (!setAttribute(probe, "user.probe", "1"))
            GTEST_SKIP() << folder_.path() << " keeps no user attributes: " << std::strerror(errno);
        if (!setAttribute(probe, kAcl, kNamedUserAcl))
            GTEST_SKIP() << folder_.path() << " keeps no ACLs: " << std::strerror(errno);
        std::filesystem::remove(probe);
    }
    std::string file(const std::string& name) const { return folder_ / name; }
    // A file holding `content` with the named user's ACL and a note.
    std::string withAclAndNote(const std::string& name, const std::string& content) const {
        const std::string p = file(name);
        putBytes(p, content);
        EXPECT_TRUE(setAttribute(p, kAcl, kNamedUserAcl));
        EXPECT_TRUE(setAttribute(p, "user.note", kNote));
        return p;
    }
    bool holdsTemporary() const {
        for (const auto& e : std::filesystem::directory_iterator(folder_.path()))
            if (e.path().filename().string().rfind(".kavrel-", 0) == 0) return true;
        return false;
    }

    kavrel_test::TempFolder folder_{"kavrel-attributes"};
};

TEST_F(FileAttributes, AProjectSaveAndASnapshotKeepTheAclAndUserAttributesByteForByte) {
    const std::string project = withAclAndNote("show.Kavrel", "old\r\n");
    const std::string png = withAclAndNote("pane.png", "old");
    const bool superuser = ::geteuid() == 0;
    // The system's own attributes are not carried over.
    if (superuser) {
        ASSERT_TRUE(setAttribute(project, "trusted.mark", "x"));
    }
    ASSERT_EQ(modeOf(project), 0660u);
    EXPECT_TRUE(
        replaceFileAtomically(project, [](TextFileWriter& w) { return w.writeLine("new"); }));
    EXPECT_TRUE(writePng(Surface(2, 2), png));
    for (const std::string& p : {project, png}) {
        EXPECT_NE(bytesOf(p).substr(0, 3), "old") << p;
        EXPECT_EQ(attribute(p, kAcl), kNamedUserAcl) << p;
        EXPECT_EQ(attribute(p, "user.note"), kNote) << p;
        EXPECT_EQ(modeOf(p), 0660u) << p;
    }
    if (superuser) {
        EXPECT_EQ(attribute(project, "trusted.mark"), std::nullopt);
    }
}

TEST_F(FileAttributes, ASaveThatCannotKeepTheAclFailsWithTheReasonAndKeepsTheOldFile) {
    const std::string p = withAclAndNote("show.Kavrel", "old");
    const ReplaceHooks noAcls{[](std::string_view call, std::string_view subject) {
        return call == "fsetxattr" && subject == kAcl ? EOPNOTSUPP : 0;
    }};
    const WriteResult result = replaceFile(
        p, [](int fd) { return writeAll(fd, "new", 3); }, &noAcls);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.reason(), "Operation not supported");
    EXPECT_EQ(bytesOf(p), "old");
    EXPECT_EQ(attribute(p, kAcl), kNamedUserAcl);
    EXPECT_FALSE(holdsTemporary());
}

TEST_F(FileAttributes, InAFolderWithADefaultAclANewFileIsMadeAsAnyAndAReplacedOneKeepsNoAcl) {
    ASSERT_TRUE(setAttribute(folder_.path().string(), kDefaultAcl, kNamedUserAcl));
    const std::string plain = file("plain");
    const int made = ::open(plain.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    ASSERT_GE(made, 0);
    ::close(made);
    const auto ok = [](int fd) { return writeAll(fd, "new", 3); };
    const std::string fresh = file("fresh");
    EXPECT_TRUE(replaceFile(fresh, ok));
    EXPECT_EQ(attribute(fresh, kAcl), attribute(plain, kAcl));
    EXPECT_EQ(modeOf(fresh), modeOf(plain));
    // The old file had no ACL: the one its temporary inherited goes.
    const std::string old = file("old");
    putBytes(old, "old");
    ASSERT_EQ(::removexattr(old.c_str(), kAcl), 0);
    ASSERT_EQ(::chmod(old.c_str(), 0640), 0);
    EXPECT_TRUE(replaceFile(old, ok));
    EXPECT_EQ(attribute(old, kAcl), std::nullopt);
    EXPECT_EQ(modeOf(old), 0640u);
}

TEST_F(FileAttributes, AWriteOnlyFileKeepsItsAclButLeavesTheNotesNoOneMayReadBehind) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to act as another user";
    // Another user's file she may write but not read, in her own folder.
    const std::string p = file("show.Kavrel");
    putBytes(p, "old");
    const std::string writeOnly = aclBytes({{kUserObj, 2, kNoId},
                                            {kUser, 2, 1},
                                            {kGroupObj, 0, kNoId},
                                            {kMask, 2, kNoId},
                                            {kOthers, 0, kNoId}});
    ASSERT_TRUE(setAttribute(p, kAcl, writeOnly));
    ASSERT_TRUE(setAttribute(p, "user.note", kNote));
    ASSERT_EQ(::chown(p.c_str(), kOtherUser, kOtherUser), 0);
    ASSERT_EQ(::chown(folder_.path().c_str(), kOtherUser, kOtherUser), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool as =
            ::setgroups(0, nullptr) == 0 && ::setgid(kOtherUser) == 0 && ::setuid(kOtherUser) == 0;
        const bool ok = as && replaceFile(p, [](int fd) { return writeAll(fd, "new", 3); });
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(bytesOf(p), "new");
    EXPECT_EQ(attribute(p, kAcl), writeOnly);
    EXPECT_EQ(attribute(p, "user.note"), std::nullopt);
    EXPECT_EQ(modeOf(p), 0220u);
}

}  // namespace
}  // namespace platform
