#pragma once
// Runs part of a test in a forked child, for what this process may not undo:
// another user, a namespace, a system call filter, a session of its own.
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/files/fd_write.h"

namespace kavrel_test {

// The text `run` returns, run in a forked child; a text that says how the
// child ended when it did not return.
template <class Run>
std::string inChild(const Run& run) {
    int out[2];
    if (::pipe(out) != 0) return "no pipe for the child";
    const pid_t child = ::fork();
    if (child == 0) {
        const std::string said = run();
        ::_exit(platform::writeAll(out[1], said.data(), said.size()) ? 0 : 1);
    }
    ::close(out[1]);
    std::string said;
    char buffer[4096];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, size_t(n));
    ::close(out[0]);
    int status = -1;
    ::waitpid(child, &status, 0);
    return status == 0 ? said : "the child ended with status " + std::to_string(status);
}

}  // namespace kavrel_test
