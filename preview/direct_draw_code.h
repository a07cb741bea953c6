#pragma once
// The full-screen surface preview's display code: lists adapters and their
// display modes, sets the display objects up for a window (windowed or full
// screen), draws one box per light on the back surface, presents it (flip or
// stretching blit) and releases everything again. A failure while drawing is
// reported after the objects are released.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/shared_state.h"
#include "platform/windows/direct_draw.h"

namespace kavrel {

struct DisplayMode {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0;
};

struct AdapterInfo {
    std::string description;
    std::string guid;
    std::string name;
    int32_t modeCount = 0;
    // Index 0 holds nothing; the modes are 1 .. modeCount.
    std::vector<DisplayMode> modes;
};

class DirectDrawCode {
  public:
    // `reportError` shows the error box for a result; `unloadWindow` unloads
    // the preview window.
    DirectDrawCode(platform::dd::DisplaySystem& display, SharedState& state,
                   std::function<void(int32_t)> reportError, std::function<void()> unloadWindow);

    int16_t getAdapterCount();
    // 1-based; an index outside 1 .. count gives an empty record.
    AdapterInfo openAdapter(int32_t index);
    // Sets the cell geometry for the window (or the mode, full screen), sets
    // the display up and draws the first frame. `mode` may change (fallback).
    void startDirectDraw(platform::Window& window, DisplayMode& mode, const std::string& guid,
                         int32_t backBufferCount, bool fullScreen);
    void initDirectDraw(platform::Window& window, DisplayMode& mode, int32_t backBufferCount,
                        bool fullScreen, std::string guid);
    void renderFrameDX();
    // False when the fill failed (then reported and released).
    bool clearBackBuffer(uint32_t colour);
    bool drawCellsDX();
    bool presentFrame();
    void releaseDirectDraw();
    // Whether display objects are held.
    bool holdsObjects() const { return ddObject_ != nullptr || ddPrimary_ != nullptr; }

    int32_t ddLastResult = 0;

  private:
    // Releases, then shows the error box (so boxes never nest on a failing
    // draw); false for the caller to return.
    bool fail(int32_t result);
    void setWindowedGeometry(platform::Window& window, DisplayMode& mode);
    void setFullScreenGeometry(const DisplayMode& mode);
    int32_t setMode(DisplayMode& mode);

    platform::dd::DisplaySystem& display_;
    SharedState& state_;
    std::function<void(int32_t)> reportError_;
    std::function<void()> unloadWindow_;

    std::unique_ptr<platform::dd::DirectX7> ddRoot_;
    std::shared_ptr<platform::dd::DirectDraw7> ddObject_;
    std::shared_ptr<platform::dd::DirectDrawSurface7> ddPrimary_;
    std::shared_ptr<platform::dd::DirectDrawSurface7> ddBack_;
    std::shared_ptr<platform::dd::DirectDrawClipper> ddClipper_;
    platform::dd::DDSURFACEDESC2 ddPrimaryDesc_;
    platform::dd::DDSURFACEDESC2 ddBackDesc_;
    platform::dd::DDSCAPS2 ddBackCaps_;
    platform::dd::RECT ddDestRect_;
    platform::dd::RECT ddSourceRect_;
    platform::dd::RECT ddFillRect_;  // all zero: the whole surface
    platform::Window* window_ = nullptr;
    bool fullScreen_ = false;  // as set up: flip, else blit into the window
};

}  // namespace kavrel
