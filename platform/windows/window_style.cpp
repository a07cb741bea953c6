#include "platform/windows/window_style.h"

#include "platform/windows/window.h"

namespace platform {

int32_t GetWindowLongA(HWND hWnd, int32_t index) {
    if (hWnd == nullptr || index != GWL_STYLE) return 0;
    return static_cast<int32_t>(hWnd->Style());
}

int32_t SetWindowLongA(HWND hWnd, int32_t index, int32_t value) {
    if (hWnd == nullptr || index != GWL_STYLE) return 0;
    const auto previous = static_cast<int32_t>(hWnd->Style());
    hWnd->setStyle(static_cast<uint32_t>(value));
    return previous;
}

int32_t SetWindowPos(HWND hWnd, HWND insertAfter, int32_t x, int32_t y, int32_t cx, int32_t cy,
                     uint32_t flags) {
    (void)insertAfter;
    (void)x;
    (void)y;
    (void)cx;
    (void)cy;
    if (hWnd == nullptr) return 0;
    if ((flags & SWP_FRAMECHANGED) != 0) hWnd->frameChanged();
    return 1;
}

}  // namespace platform
