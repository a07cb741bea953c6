#pragma once
// A stand-in for DirectDraw 7 as reached through its automation objects: a
// display system with adapters and their display modes (configured by tests
// and the program), the display mode and exclusive mode it is in, surfaces as
// pixel buffers in a declared pixel format, box drawing, colour fills,
// stretching blits and flips. Results are DirectDraw result codes (0 = OK).
// Any call can be made to fail once with a chosen code, and every present is
// recorded. Presents that reach a window are copied onto its drawing surface.
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/drawing/surface.h"

namespace platform {

class Window;

namespace dd {

constexpr int32_t DD_OK = 0;
constexpr int32_t DDERR_GENERIC = static_cast<int32_t>(0x80004005u);
constexpr int32_t DDERR_UNSUPPORTED = static_cast<int32_t>(0x80004001u);
constexpr int32_t DDERR_INVALIDPARAMS = static_cast<int32_t>(0x80070057u);
constexpr int32_t DDERR_INVALIDOBJECT = static_cast<int32_t>(0x88760082u);
constexpr int32_t DDERR_INVALIDMODE = static_cast<int32_t>(0x88760078u);
constexpr int32_t DDERR_SURFACELOST = static_cast<int32_t>(0x887601C2u);
constexpr int32_t DDERR_NOEXCLUSIVEMODE = static_cast<int32_t>(0x887600E1u);
constexpr int32_t DDERR_INVALIDDIRECTDRAWGUID = static_cast<int32_t>(0x88760231u);

constexpr int32_t DDSCL_FULLSCREEN = 0x1;
constexpr int32_t DDSCL_NORMAL = 0x8;
constexpr int32_t DDSCL_EXCLUSIVE = 0x10;

constexpr int32_t DDSD_CAPS = 0x1;
constexpr int32_t DDSD_HEIGHT = 0x2;
constexpr int32_t DDSD_WIDTH = 0x4;
constexpr int32_t DDSD_BACKBUFFERCOUNT = 0x20;

constexpr int32_t DDSCAPS_BACKBUFFER = 0x4;
constexpr int32_t DDSCAPS_COMPLEX = 0x8;
constexpr int32_t DDSCAPS_FLIP = 0x10;
constexpr int32_t DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr int32_t DDSCAPS_PRIMARYSURFACE = 0x200;

constexpr int32_t DDFLIP_NOVSYNC = 0x8;
constexpr int32_t DDBLT_WAIT = 0x01000000;

// Bits per pixel and where red, green and blue lie in a pixel value.
struct PixelFormat {
    int32_t lRGBBitCount = 0;
    uint32_t lRBitMask = 0;
    uint32_t lGBitMask = 0;
    uint32_t lBBitMask = 0;
};
// The format a display of that depth uses: 32 and 24 bits X8R8G8B8, 16 bits
// R5G6B5, 15 bits X1R5G5B5, 8 bits (and less) R3G3B2.
PixelFormat formatForBits(int32_t bits);
// A 0x00BBGGRR colour as a pixel value of the format, and back.
uint32_t toPixel(const PixelFormat& f, Color c);
Color fromPixel(const PixelFormat& f, uint32_t pixel);

struct DDSCAPS2 {
    int32_t lCaps = 0;
};
struct DDSURFACEDESC2 {
    int32_t lFlags = 0;
    DDSCAPS2 ddsCaps;
    int32_t lBackBufferCount = 0;
    int32_t lWidth = 0;
    int32_t lHeight = 0;
    PixelFormat ddpfPixelFormat;
};
struct RECT {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

struct ModeSpec {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0;
};
struct AdapterSpec {
    std::string description;
    std::string guid;
    std::string name;
    std::vector<ModeSpec> modes;  // as the adapter reports them
};

class DisplaySystem;
class DirectDrawClipper;

class DirectDrawSurface7 {
  public:
    DirectDrawSurface7(DisplaySystem& system, int32_t width, int32_t height, PixelFormat format,
                       int32_t caps);

    int32_t BltColorFill(const RECT& rect, uint32_t pixel);
    int32_t SetDrawWidth(int32_t width);
    int32_t SetForeColor(Color c);
    int32_t SetFillColor(Color c);
    // A GDI rectangle: the pen outlines x1..x2-1, y1..y2-1 and the inside
    // takes the fill colour (solid). Neighbouring boxes meet without a gap.
    int32_t DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    int32_t Flip(DirectDrawSurface7* target, int32_t flags);
    // Stretches the source rectangle over the destination (screen
    // coordinates on a primary surface), kept inside the clipper's window.
    int32_t Blt(const RECT& dest, DirectDrawSurface7* source, const RECT& src, int32_t flags);
    int32_t GetAttachedSurface(const DDSCAPS2& caps, std::shared_ptr<DirectDrawSurface7>& out);
    int32_t GetSurfaceDesc(DDSURFACEDESC2& desc) const;
    int32_t SetClipper(std::shared_ptr<DirectDrawClipper> clipper);

    const Surface& pixels() const { return pixels_; }
    // The pixel at (x, y) as a colour; 0 outside.
    Color colorAt(int32_t x, int32_t y) const;
    const PixelFormat& format() const { return format_; }
    int32_t caps() const { return caps_; }

  private:
    friend class DirectDraw7;
    DisplaySystem& system_;
    Surface pixels_;  // raw pixel values of the format
    PixelFormat format_;
    int32_t caps_ = 0;
    int32_t drawWidth_ = 1;
    Color fore_ = 0;
    Color fill_ = 0;
    std::vector<std::shared_ptr<DirectDrawSurface7>> chain_;  // primary: its back buffers
    std::shared_ptr<DirectDrawClipper> clipper_;
};

class DirectDrawClipper {
  public:
    int32_t SetHWnd(Window* window) {
        window_ = window;
        return DD_OK;
    }
    Window* window() const { return window_; }

  private:
    Window* window_ = nullptr;
};

class DirectDrawEnumModes {
  public:
    explicit DirectDrawEnumModes(std::vector<ModeSpec> modes) : modes_(std::move(modes)) {}
    int32_t GetCount() const { return static_cast<int32_t>(modes_.size()); }
    // 1-based; false outside the list.
    bool GetItem(int32_t index, DDSURFACEDESC2& desc) const;

  private:
    std::vector<ModeSpec> modes_;
};

class DirectDraw7 {
  public:
    DirectDraw7(DisplaySystem& system, int adapter);
    ~DirectDraw7();
    DirectDraw7(const DirectDraw7&) = delete;
    DirectDraw7& operator=(const DirectDraw7&) = delete;

    int32_t SetCooperativeLevel(Window* window, int32_t flags);
    int32_t SetDisplayMode(int32_t width, int32_t height, int32_t bits, int32_t refresh,
                           int32_t flags);
    int32_t RestoreDisplayMode();
    int32_t CreateSurface(const DDSURFACEDESC2& desc, std::shared_ptr<DirectDrawSurface7>& out);
    int32_t CreateClipper(int32_t flags, std::shared_ptr<DirectDrawClipper>& out);
    int32_t GetDisplayModesEnum(int32_t flags, const DDSURFACEDESC2& desc,
                                std::unique_ptr<DirectDrawEnumModes>& out);

  private:
    DisplaySystem& system_;
    int adapter_;
    bool exclusive_ = false;
    bool changedMode_ = false;
};

class DirectDrawEnum {
  public:
    explicit DirectDrawEnum(const DisplaySystem& system) : system_(system) {}
    int32_t GetCount() const;
    // 1-based; "" outside the list.
    std::string GetDescription(int32_t index) const;
    std::string GetGuid(int32_t index) const;
    std::string GetName(int32_t index) const;

  private:
    const DisplaySystem& system_;
};

class DirectX7 {
  public:
    explicit DirectX7(DisplaySystem& system) : system_(system) {}
    std::unique_ptr<DirectDrawEnum> GetDDEnum() const;
    // "" is the primary display driver (the first adapter).
    int32_t DirectDrawCreate(const std::string& guid, std::shared_ptr<DirectDraw7>& out);
    // The window's outer rectangle in screen pixels.
    int32_t GetWindowRect(Window* window, RECT& rect) const;

  private:
    DisplaySystem& system_;
};

// One present: a flip, or a blit onto the primary surface.
struct PresentRecord {
    bool flip = false;
    RECT dest;
    RECT source;
    int32_t flags = 0;
};

// The machine's display as the stand-in sees it. Starts with one adapter
// offering a few modes and a 1920 x 1080 x 32 desktop.
class DisplaySystem {
  public:
    DisplaySystem();

    std::vector<AdapterSpec> adapters;
    // The desktop's mode, to which RestoreDisplayMode returns.
    ModeSpec desktopMode{1920, 1080, 32};

    // The next call of that name (e.g. "SetDisplayMode", "BltColorFill")
    // returns the code instead of doing its work; queued codes go in order.
    void failNext(const std::string& call, int32_t code) { injected_[call].push_back(code); }
    // Modes an adapter rejects as invalid in SetDisplayMode.
    std::vector<ModeSpec> rejectedModes;

    const ModeSpec& currentMode() const { return current_; }
    bool modeChanged() const { return modeChanged_; }
    Window* exclusiveWindow() const { return exclusive_; }
    int32_t liveObjects() const { return liveObjects_; }
    int32_t objectsCreated() const { return objectsCreated_; }
    const std::vector<PresentRecord>& presents() const { return presents_; }
    // The picture last presented (front buffer or the blit's result).
    const Surface& presented() const { return presented_; }

  private:
    friend class DirectX7;
    friend class DirectDraw7;
    friend class DirectDrawSurface7;
    // The injected code for this call, or DD_OK.
    int32_t injected(const char* call);
    void showOn(Window* window, const Surface& picture, int32_t left, int32_t top);

    std::map<std::string, std::deque<int32_t>, std::less<>> injected_;
    ModeSpec current_;
    bool modeChanged_ = false;
    Window* exclusive_ = nullptr;
    int32_t liveObjects_ = 0;
    int32_t objectsCreated_ = 0;
    std::vector<PresentRecord> presents_;
    Surface presented_;
};

}  // namespace dd
}  // namespace platform
