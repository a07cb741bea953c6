#pragma once
// Part of a test run in a child process: what this one may not undo.
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
    char part[512];
    for (ssize_t n; (n = ::read(out[0], part, sizeof part)) > 0;) said.append(part, size_t(n));
    ::close(out[0]);
    int status = -1;
    ::waitpid(child, &status, 0);
    return status == 0 ? said : "the child ended with status " + std::to_string(status);
}

}  // namespace kavrel_test
