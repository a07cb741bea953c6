#pragma once
// Sets the hooks of this thread's picture loads while the object lives.
#include "platform/pictures/picture_load_hooks.h"

namespace kavrel_test {

class ScopedPictureLoadHooks {
  public:
    explicit ScopedPictureLoadHooks(const platform::PictureLoadHooks& hooks)
        : previous_(platform::pictureLoadHooks) {
        platform::pictureLoadHooks = &hooks;
    }
    ~ScopedPictureLoadHooks() { platform::pictureLoadHooks = previous_; }
    ScopedPictureLoadHooks(const ScopedPictureLoadHooks&) = delete;
    ScopedPictureLoadHooks& operator=(const ScopedPictureLoadHooks&) = delete;

  private:
    const platform::PictureLoadHooks* previous_;
};

}  // namespace kavrel_test
