#pragma once
// A look between the system calls of the write path, for tests: they change
// the file system at each step in turn, or make one call fail. Production
// never installs one; `calls` then makes each call straight away.
#include <cerrno>
#include <functional>
#include <string_view>

namespace platform {

// Called before each system call the write path makes, with the call's name
// and what it acts on (a file or attribute name, or "" for a descriptor);
// an error number returned makes that call fail with it, not be made.
struct ReplaceHooks {
    std::function<int(std::string_view call, std::string_view subject)> beforeCall;
};

// Installs hooks for this thread while it lives; defined where tests reach it.
class ScopedReplaceHooks;

// Makes the write path's system each after this thread's hook when a
// test installed one.
class HookedCalls {
  public:
    template <class Call>
    auto operator()(std::string_view name, std::string_view subject, Call call) const
        -> decltype(call()) {
        if (const ReplaceHooks* hooks = installed_; hooks != nullptr && hooks->beforeCall) {
            if (const int error = hooks->beforeCall(name, subject); error != 0) {
                errno = error;
                return static_cast<decltype(call())>(-1);
            }
        }
        return call();
    }

  private:
    friend class ScopedReplaceHooks;
    // The one test seam: null unless a ScopedReplaceHooks on this thread set it.
    static inline thread_local const ReplaceHooks* installed_ = nullptr;
};

inline constexpr HookedCalls calls{};

}  // namespace platform
