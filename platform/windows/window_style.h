#pragma once
// The window functions that read and write a window's style word and apply a
// changed frame. A window handle is the window itself.
#include <cstdint>

namespace platform {

class Window;
using HWND = Window*;

constexpr int32_t GWL_STYLE = -16;
constexpr uint32_t SWP_NOSIZE = 0x1;
constexpr uint32_t SWP_NOMOVE = 0x2;
constexpr uint32_t SWP_NOZORDER = 0x4;
constexpr uint32_t SWP_FRAMECHANGED = 0x20;

// The style word for GWL_STYLE; 0 for a null handle or another index.
int32_t GetWindowLongA(HWND hWnd, int32_t index);
// Writes the style word and returns the previous one; 0 (nothing written) for
// a null handle or another index.
int32_t SetWindowLongA(HWND hWnd, int32_t index, int32_t value);
// Only the frame-changed flag has an effect here: the window applies its
// style word (its client area follows). Returns 0 for a null handle.
int32_t SetWindowPos(HWND hWnd, HWND insertAfter, int32_t x, int32_t y, int32_t cx, int32_t cy,
                     uint32_t flags);

}  // namespace platform
