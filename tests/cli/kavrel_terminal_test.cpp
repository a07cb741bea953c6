// The real kavrel program typed into on a pseudo-terminal, as a user at a
// terminal drives it: a prompt, a typo that does not end the session, and the
// worst failure's exit status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeout = std::chrono::seconds(20);

class TerminalSession {
  public:
    TerminalSession() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
        const char* name = ::ptsname(master_);
        if (!name) return;
        hasTerminal_ = true;
        const std::string slave = name;
        pid_t pid = ::fork();
        if (pid == 0) {
            // The child: the terminal becomes its standard input, output and error.
            ::setsid();
            const int fd = ::open(slave.c_str(), O_RDWR);
            if (fd < 0) ::_exit(120);
            ::dup2(fd, 0);
            ::dup2(fd, 1);
            ::dup2(fd, 2);
            ::close(master_);
            ::execl(KAVREL_BINARY, KAVREL_BINARY, static_cast<char*>(nullptr));
            ::_exit(121);
        }
        pid_ = pid;
    }
    ~TerminalSession() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (master_ >= 0) ::close(master_);
    }
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    // False where the system gives no pseudo-terminal (a container without
    // /dev/pts): nothing can be typed then.
    bool hasTerminal() const { return hasTerminal_; }
    bool started() const { return pid_ > 0; }

    void type(const std::string& line) { write(line + "\n"); }
    // Ctrl-D at the start of a line: the end of input.
    void endInput() { write("\x04"); }

    // Reads until the output since the last call holds `text`; false after
    // the timeout or the end of output. What was read is in seen().
    bool readUntil(const std::string& text) {
        seen_.erase(0, from_);
        from_ = 0;
        const auto end = Clock::now() + kTimeout;
        while (seen_.find(text) == std::string::npos) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0) return false;
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
            char buf[4096];
            const ssize_t got = ::read(master_, buf, sizeof buf);
            // EIO: the program closed the terminal's other end.
            if (got <= 0) return false;
            seen_.append(buf, static_cast<size_t>(got));
        }
        from_ = seen_.find(text) + text.size();
        return true;
    }
    const std::string& seen() const { return seen_; }

    // The exit status, or -1 when the program does not end in time.
    int exitStatus() {
        const auto end = Clock::now() + kTimeout;
        char buf[4096];
        while (Clock::now() < end) {
            // Keep the terminal drained so the program never blocks writing.
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0) (void)::read(master_, buf, sizeof buf);
            int raw = 0;
            if (::waitpid(pid_, &raw, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            }
        }
        return -1;
    }

  private:
    void write(const std::string& text) {
        ASSERT_EQ(::write(master_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    int master_ = -1;
    pid_t pid_ = -1;
    bool hasTerminal_ = false;
    std::string seen_;
    size_t from_ = 0;
};

}  // namespace

TEST(KavrelTerminal, ATypoIsReportedAndTheSessionGoesOnToExitWithTheWorstStatus) {
    TerminalSession t;
    if (!t.hasTerminal()) GTEST_SKIP() << "no pseudo-terminal here";
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(t.readUntil("kavrel> ")) << t.seen();
    t.type("open");
    ASSERT_TRUE(t.readUntil("kavrel> ")) << t.seen();
    t.type("clik MatrixForm.addA");
    ASSERT_TRUE(t.readUntil("kavrel: line 2: unknown action \"clik\" (did you mean \"click\"?)"))
        << t.seen();
    ASSERT_TRUE(t.readUntil("kavrel> ")) << t.seen();
    // The lines after the typo run against what was built before it.
    t.type("click MatrixForm.addA");
    ASSERT_TRUE(t.readUntil("kavrel> ")) << t.seen();
    t.type("print MatrixForm.efxAList.Count");
    ASSERT_TRUE(t.readUntil("\r\n2\r\n")) << t.seen();
    t.type("expect MatrixForm.efxAList.Count 2");
    t.type("quit");
    EXPECT_EQ(t.exitStatus(), 2);
}

TEST(KavrelTerminal, AFailedCheckAloneEndsWithOneAndTheEndOfInputEndsTheSession) {
    TerminalSession t;
    if (!t.hasTerminal()) GTEST_SKIP() << "no pseudo-terminal here";
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(t.readUntil("kavrel> ")) << t.seen();
    t.type("open");
    t.type("expect MatrixForm.efxAList.Count 5");
    ASSERT_TRUE(t.readUntil("kavrel: line 2: expect MatrixForm.efxAList.Count: found \"1\""))
        << t.seen();
    t.type("expect MatrixForm.efxAList.Count 1");
    ASSERT_TRUE(t.readUntil("kavrel> ")) << t.seen();
    t.endInput();
    EXPECT_EQ(t.exitStatus(), 1);
}
