#pragma once
// Points of a picture load (loadPictureFile) where tests change the file.
#include <functional>

namespace platform {

struct PictureLoadHooks {
    std::function<void()> beforeOpen;  // before the path is opened
    std::function<void()> afterRead;   // after the file was read and checked
};

// The hooks of the loads this thread makes. Null but while a test's scoped
// setter (tests/support/picture_load_hooks.h) holds it.
inline thread_local const PictureLoadHooks* pictureLoadHooks = nullptr;

}  // namespace platform
