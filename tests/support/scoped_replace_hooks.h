#pragma once
// Hooks for the write path's system calls on this thread (or none, given
// null), for as long as the object lives; those before come back when it goes.
#include "platform/writing/replace_hooks.h"

namespace platform {

class ScopedReplaceHooks {
  public:
    explicit ScopedReplaceHooks(const ReplaceHooks* hooks) : before_(HookedCalls::installed_) {
        HookedCalls::installed_ = hooks;
    }
    ~ScopedReplaceHooks() { HookedCalls::installed_ = before_; }
    ScopedReplaceHooks(const ScopedReplaceHooks&) = delete;
    ScopedReplaceHooks& operator=(const ScopedReplaceHooks&) = delete;

  private:
    const ReplaceHooks* before_;
};

}  // namespace platform
