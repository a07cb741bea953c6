#pragma once
// A look between the system calls of a file replacement, for tests: they
// change the file system at each step in turn, or make one call fail.
#include <cerrno>
#include <functional>
#include <string_view>

namespace platform {

// Called before each system call a replacement makes, with the call's name
// and what it acts on (a file or attribute name, or "" for a descriptor);
// an error number returned makes that call fail with it, not be made.
struct ReplaceHooks {
    std::function<int(std::string_view call, std::string_view subject)> beforeCall;
};

// Makes a replacement's system calls, each after the hook when there is one.
class HookedCalls {
  public:
    explicit HookedCalls(const ReplaceHooks* hooks) : hooks_(hooks) {}

    template <class Call>
    auto operator()(std::string_view name, std::string_view subject, Call call) const
        -> decltype(call()) {
        if (hooks_ != nullptr && hooks_->beforeCall) {
            if (const int error = hooks_->beforeCall(name, subject); error != 0) {
                errno = error;
                return static_cast<decltype(call())>(-1);
            }
        }
        return call();
    }

  private:
    const ReplaceHooks* hooks_;
};

}  // namespace platform
