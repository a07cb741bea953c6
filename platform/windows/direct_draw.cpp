#include "platform/windows/direct_draw.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "platform/windows/window.h"

namespace platform::dd {

namespace {

constexpr int32_t kExclusiveModeAlreadySet = static_cast<int32_t>(0x88760245u);
constexpr int32_t kNotFound = static_cast<int32_t>(0x887600FFu);
// Surfaces larger than this on a side are refused as out of memory.
constexpr int32_t kMaxSurfaceSide = 8192;

uint32_t channelToPixel(uint32_t mask, uint32_t value8) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const uint32_t v = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
    return (v << shift) & mask;
}

uint32_t channelFromPixel(uint32_t mask, uint32_t pixel) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const uint32_t max = mask >> shift;
    const uint32_t v = (pixel & mask) >> shift;
    return (v * 255u + max / 2) / max;
}

// The window's client area in screen pixels.
RECT clientOnScreen(const Window& w) {
    RECT r;
    const int32_t cw = w.clientPixelWidth(), ch = w.clientPixelHeight();
    if (w.WindowState() == 2) {
        r.Right = cw;
        r.Bottom = ch;
        return r;
    }
    const auto outerLeft = static_cast<int32_t>(std::lround(w.Left() / kTwipsPerPixel));
    const auto outerTop = static_cast<int32_t>(std::lround(w.Top() / kTwipsPerPixel));
    const auto outerW = static_cast<int32_t>(std::lround(w.Width() / kTwipsPerPixel));
    const auto outerH = static_cast<int32_t>(std::lround(w.Height() / kTwipsPerPixel));
    const int32_t border = std::max(0, (outerW - cw) / 2);
    r.Left = outerLeft + border;
    r.Top = outerTop + std::max(0, outerH - ch - border);
    r.Right = r.Left + cw;
    r.Bottom = r.Top + ch;
    return r;
}

}  // namespace

PixelFormat formatForBits(int32_t bits) {
    PixelFormat f;
    f.lRGBBitCount = bits;
    if (bits >= 24) {
        f.lRBitMask = 0x00FF0000u;
        f.lGBitMask = 0x0000FF00u;
        f.lBBitMask = 0x000000FFu;
    } else if (bits == 16) {
        f.lRBitMask = 0xF800u;
        f.lGBitMask = 0x07E0u;
        f.lBBitMask = 0x001Fu;
    } else if (bits == 15) {
        f.lRBitMask = 0x7C00u;
        f.lGBitMask = 0x03E0u;
        f.lBBitMask = 0x001Fu;
    } else {
        f.lRBitMask = 0xE0u;
        f.lGBitMask = 0x1Cu;
        f.lBBitMask = 0x03u;
    }
    return f;
}

uint32_t toPixel(const PixelFormat& f, Color c) {
    return channelToPixel(f.lRBitMask, c & 0xFFu) | channelToPixel(f.lGBitMask, (c >> 8) & 0xFFu) |
           channelToPixel(f.lBBitMask, (c >> 16) & 0xFFu);
}

Color fromPixel(const PixelFormat& f, uint32_t pixel) {
    return rgb(static_cast<int>(channelFromPixel(f.lRBitMask, pixel)),
               static_cast<int>(channelFromPixel(f.lGBitMask, pixel)),
               static_cast<int>(channelFromPixel(f.lBBitMask, pixel)));
}

// ---- surfaces ----

DirectDrawSurface7::DirectDrawSurface7(DisplaySystem& system, int32_t width, int32_t height,
                                       PixelFormat format, int32_t caps)
    : system_(system), pixels_(width, height, 0), format_(format), caps_(caps) {}

Color DirectDrawSurface7::colorAt(int32_t x, int32_t y) const {
    return pixels_.contains(x, y) ? fromPixel(format_, pixels_.at(x, y)) : 0u;
}

int32_t DirectDrawSurface7::BltColorFill(const RECT& rect, uint32_t pixel) {
    if (int32_t e = system_.injected("BltColorFill")) return e;
    const bool whole = rect.Left == 0 && rect.Top == 0 && rect.Right == 0 && rect.Bottom == 0;
    if (whole) {
        pixels_.fill(pixel);
        return DD_OK;
    }
    for (int64_t y = rect.Top; y < rect.Bottom; ++y)
        for (int64_t x = rect.Left; x < rect.Right; ++x) pixels_.put(x, y, pixel);
    return DD_OK;
}

int32_t DirectDrawSurface7::SetDrawWidth(int32_t width) {
    if (int32_t e = system_.injected("SetDrawWidth")) return e;
    drawWidth_ = std::max(1, width);
    return DD_OK;
}

int32_t DirectDrawSurface7::SetForeColor(Color c) {
    if (int32_t e = system_.injected("SetForeColor")) return e;
    fore_ = c;
    return DD_OK;
}

int32_t DirectDrawSurface7::SetFillColor(Color c) {
    if (int32_t e = system_.injected("SetFillColor")) return e;
    fill_ = c;
    return DD_OK;
}

int32_t DirectDrawSurface7::DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (int32_t e = system_.injected("DrawBox")) return e;
    const int64_t left = std::min(x1, x2), right = std::max(x1, x2);
    const int64_t top = std::min(y1, y2), bottom = std::max(y1, y2);
    // Only the part on the surface is visited.
    const int64_t x0 = std::max<int64_t>(left, 0), xe = std::min<int64_t>(right, pixels_.width());
    const int64_t y0 = std::max<int64_t>(top, 0), ye = std::min<int64_t>(bottom, pixels_.height());
    const uint32_t pen = toPixel(format_, fore_), inside = toPixel(format_, fill_);
    for (int64_t y = y0; y < ye; ++y) {
        for (int64_t x = x0; x < xe; ++x) {
            const bool edge = x - left < drawWidth_ || right - 1 - x < drawWidth_ ||
                              y - top < drawWidth_ || bottom - 1 - y < drawWidth_;
            pixels_.put(x, y, edge ? pen : inside);
        }
    }
    return DD_OK;
}

int32_t DirectDrawSurface7::Flip(DirectDrawSurface7* target, int32_t flags) {
    (void)target;
    if (int32_t e = system_.injected("Flip")) return e;
    if (chain_.empty()) return DDERR_INVALIDOBJECT;
    if (system_.exclusive_ == nullptr) return DDERR_NOEXCLUSIVEMODE;
    // The chain's memory rotates: the first back buffer comes to the front.
    Surface front = std::move(pixels_);
    pixels_ = std::move(chain_[0]->pixels_);
    for (size_t i = 0; i + 1 < chain_.size(); ++i)
        chain_[i]->pixels_ = std::move(chain_[i + 1]->pixels_);
    chain_.back()->pixels_ = std::move(front);

    PresentRecord rec;
    rec.flip = true;
    rec.flags = flags;
    rec.dest = RECT{0, 0, pixels_.width(), pixels_.height()};
    rec.source = rec.dest;
    system_.presents_.push_back(rec);
    Surface shown(pixels_.width(), pixels_.height());
    for (int32_t y = 0; y < shown.height(); ++y)
        for (int32_t x = 0; x < shown.width(); ++x) shown.set(x, y, colorAt(x, y));
    system_.presented_ = shown;
    system_.showOn(system_.exclusive_, shown, 0, 0);
    return DD_OK;
}

int32_t DirectDrawSurface7::Blt(const RECT& dest, DirectDrawSurface7* source, const RECT& src,
                                int32_t flags) {
    if (int32_t e = system_.injected("Blt")) return e;
    if (source == nullptr) return DDERR_INVALIDPARAMS;
    const int64_t dw = int64_t{dest.Right} - dest.Left, dh = int64_t{dest.Bottom} - dest.Top;
    const int64_t sw = int64_t{src.Right} - src.Left, sh = int64_t{src.Bottom} - src.Top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return DDERR_INVALIDPARAMS;
    if (src.Left < 0 || src.Top < 0 || src.Right > source->pixels_.width() ||
        src.Bottom > source->pixels_.height())
        return DDERR_INVALIDPARAMS;

    // The visible part: the surface, and the clipper's window.
    int64_t cl = 0, ct = 0, cr = pixels_.width(), cb = pixels_.height();
    Window* window = clipper_ ? clipper_->window() : nullptr;
    RECT client;
    if (window != nullptr) {
        client = clientOnScreen(*window);
        cl = std::max<int64_t>(cl, client.Left);
        ct = std::max<int64_t>(ct, client.Top);
        cr = std::min<int64_t>(cr, client.Right);
        cb = std::min<int64_t>(cb, client.Bottom);
    }
    const int64_t x0 = std::max<int64_t>(dest.Left, cl), x1 = std::min<int64_t>(dest.Right, cr);
    const int64_t y0 = std::max<int64_t>(dest.Top, ct), y1 = std::min<int64_t>(dest.Bottom, cb);
    Surface shown(static_cast<int32_t>(std::max<int64_t>(0, x1 - x0)),
                  static_cast<int32_t>(std::max<int64_t>(0, y1 - y0)));
    for (int64_t y = y0; y < y1; ++y) {
        const auto sy = static_cast<int32_t>(src.Top + (y - dest.Top) * sh / dh);
        for (int64_t x = x0; x < x1; ++x) {
            const auto sx = static_cast<int32_t>(src.Left + (x - dest.Left) * sw / dw);
            const Color c = source->colorAt(sx, sy);
            pixels_.put(x, y, toPixel(format_, c));
            shown.set(static_cast<int32_t>(x - x0), static_cast<int32_t>(y - y0), c);
        }
    }
    PresentRecord rec;
    rec.dest = dest;
    rec.source = src;
    rec.flags = flags;
    system_.presents_.push_back(rec);
    system_.presented_ = shown;
    if (window != nullptr)
        system_.showOn(window, shown, static_cast<int32_t>(x0 - client.Left),
                       static_cast<int32_t>(y0 - client.Top));
    return DD_OK;
}

int32_t DirectDrawSurface7::GetAttachedSurface(const DDSCAPS2& caps,
                                               std::shared_ptr<DirectDrawSurface7>& out) {
    if (int32_t e = system_.injected("GetAttachedSurface")) return e;
    if ((caps.lCaps & DDSCAPS_BACKBUFFER) == 0 || chain_.empty()) return kNotFound;
    out = chain_.front();
    return DD_OK;
}

int32_t DirectDrawSurface7::GetSurfaceDesc(DDSURFACEDESC2& desc) const {
    if (int32_t e = system_.injected("GetSurfaceDesc")) return e;
    desc.lFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.lCaps = caps_;
    desc.lWidth = pixels_.width();
    desc.lHeight = pixels_.height();
    desc.lBackBufferCount = static_cast<int32_t>(chain_.size());
    desc.ddpfPixelFormat = format_;
    return DD_OK;
}

int32_t DirectDrawSurface7::SetClipper(std::shared_ptr<DirectDrawClipper> clipper) {
    if (int32_t e = system_.injected("SetClipper")) return e;
    clipper_ = std::move(clipper);
    return DD_OK;
}

bool DirectDrawEnumModes::GetItem(int32_t index, DDSURFACEDESC2& desc) const {
    if (index < 1 || index > GetCount()) return false;
    const ModeSpec& m = modes_[static_cast<size_t>(index - 1)];
    desc = DDSURFACEDESC2{};
    desc.lFlags = DDSD_WIDTH | DDSD_HEIGHT;
    desc.lWidth = m.width;
    desc.lHeight = m.height;
    desc.ddpfPixelFormat = formatForBits(m.bitsPerPixel);
    return true;
}

// ---- the DirectDraw object ----

DirectDraw7::DirectDraw7(DisplaySystem& system, int adapter) : system_(system), adapter_(adapter) {
    ++system_.liveObjects_;
    ++system_.objectsCreated_;
}

DirectDraw7::~DirectDraw7() {
    // Releasing the object gives the display back as it found it.
    if (changedMode_) {
        system_.current_ = system_.desktopMode;
        system_.modeChanged_ = false;
    }
    if (exclusive_) system_.exclusive_ = nullptr;
    --system_.liveObjects_;
}

int32_t DirectDraw7::SetCooperativeLevel(Window* window, int32_t flags) {
    if (int32_t e = system_.injected("SetCooperativeLevel")) return e;
    const bool wantsExclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    if (wantsExclusive != ((flags & DDSCL_FULLSCREEN) != 0)) return DDERR_INVALIDPARAMS;
    if (wantsExclusive) {
        if (window == nullptr) return DDERR_INVALIDPARAMS;
        if (system_.exclusive_ != nullptr && !exclusive_) return kExclusiveModeAlreadySet;
        system_.exclusive_ = window;
        exclusive_ = true;
    } else {
        if ((flags & DDSCL_NORMAL) == 0) return DDERR_INVALIDPARAMS;
        if (exclusive_) system_.exclusive_ = nullptr;
        exclusive_ = false;
    }
    return DD_OK;
}

int32_t DirectDraw7::SetDisplayMode(int32_t width, int32_t height, int32_t bits, int32_t refresh,
                                    int32_t flags) {
    (void)refresh;
    (void)flags;
    if (int32_t e = system_.injected("SetDisplayMode")) return e;
    if (!exclusive_) return DDERR_NOEXCLUSIVEMODE;
    const auto same = [&](const ModeSpec& m) {
        return m.width == width && m.height == height && m.bitsPerPixel == bits;
    };
    const auto& modes = system_.adapters.at(static_cast<size_t>(adapter_)).modes;
    if (std::none_of(modes.begin(), modes.end(), same) ||
        std::any_of(system_.rejectedModes.begin(), system_.rejectedModes.end(), same))
        return DDERR_INVALIDMODE;
    system_.current_ = ModeSpec{width, height, bits};
    system_.modeChanged_ = true;
    changedMode_ = true;
    return DD_OK;
}

int32_t DirectDraw7::RestoreDisplayMode() {
    if (int32_t e = system_.injected("RestoreDisplayMode")) return e;
    if (changedMode_) {
        system_.current_ = system_.desktopMode;
        system_.modeChanged_ = false;
        changedMode_ = false;
    }
    return DD_OK;
}

int32_t DirectDraw7::CreateSurface(const DDSURFACEDESC2& desc,
                                   std::shared_ptr<DirectDrawSurface7>& out) {
    if (int32_t e = system_.injected("CreateSurface")) return e;
    const int32_t caps = desc.ddsCaps.lCaps;
    const ModeSpec mode = system_.current_;
    const PixelFormat format = formatForBits(mode.bitsPerPixel);
    if ((caps & DDSCAPS_PRIMARYSURFACE) != 0) {
        const bool flipping = (caps & DDSCAPS_FLIP) != 0;
        if (flipping && !exclusive_) return DDERR_NOEXCLUSIVEMODE;
        auto primary =
            std::make_shared<DirectDrawSurface7>(system_, mode.width, mode.height, format, caps);
        if (flipping) {
            const int32_t count = (desc.lFlags & DDSD_BACKBUFFERCOUNT) ? desc.lBackBufferCount : 0;
            if (count < 1 || count > 3) return DDERR_INVALIDPARAMS;
            for (int32_t i = 0; i < count; ++i)
                primary->chain_.push_back(std::make_shared<DirectDrawSurface7>(
                    system_, mode.width, mode.height, format, DDSCAPS_BACKBUFFER));
        }
        out = std::move(primary);
        return DD_OK;
    }
    if ((desc.lFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) ||
        desc.lWidth <= 0 || desc.lHeight <= 0)
        return DDERR_INVALIDPARAMS;
    if (desc.lWidth > kMaxSurfaceSide || desc.lHeight > kMaxSurfaceSide)
        return static_cast<int32_t>(0x8007000Eu);  // out of memory
    out = std::make_shared<DirectDrawSurface7>(system_, desc.lWidth, desc.lHeight, format, caps);
    return DD_OK;
}

int32_t DirectDraw7::CreateClipper(int32_t flags, std::shared_ptr<DirectDrawClipper>& out) {
    (void)flags;
    if (int32_t e = system_.injected("CreateClipper")) return e;
    out = std::make_shared<DirectDrawClipper>();
    return DD_OK;
}

int32_t DirectDraw7::GetDisplayModesEnum(int32_t flags, const DDSURFACEDESC2& desc,
                                         std::unique_ptr<DirectDrawEnumModes>& out) {
    (void)flags;
    (void)desc;
    if (int32_t e = system_.injected("GetDisplayModesEnum")) return e;
    out = std::make_unique<DirectDrawEnumModes>(
        system_.adapters.at(static_cast<size_t>(adapter_)).modes);
    return DD_OK;
}

// ---- enumeration and root ----

int32_t DirectDrawEnum::GetCount() const {
    return static_cast<int32_t>(system_.adapters.size());
}

std::string DirectDrawEnum::GetDescription(int32_t index) const {
    return index >= 1 && index <= GetCount()
               ? system_.adapters[static_cast<size_t>(index - 1)].description
               : std::string();
}
std::string DirectDrawEnum::GetGuid(int32_t index) const {
    return index >= 1 && index <= GetCount() ? system_.adapters[static_cast<size_t>(index - 1)].guid
                                             : std::string();
}
std::string DirectDrawEnum::GetName(int32_t index) const {
    return index >= 1 && index <= GetCount() ? system_.adapters[static_cast<size_t>(index - 1)].name
                                             : std::string();
}

std::unique_ptr<DirectDrawEnum> DirectX7::GetDDEnum() const {
    return std::make_unique<DirectDrawEnum>(system_);
}

int32_t DirectX7::DirectDrawCreate(const std::string& guid, std::shared_ptr<DirectDraw7>& out) {
    if (int32_t e = system_.injected("DirectDrawCreate")) return e;
    if (system_.adapters.empty()) return DDERR_GENERIC;
    int adapter = 0;
    if (!guid.empty()) {
        const auto it = std::find_if(system_.adapters.begin(), system_.adapters.end(),
                                     [&](const AdapterSpec& a) { return a.guid == guid; });
        if (it == system_.adapters.end()) return DDERR_INVALIDDIRECTDRAWGUID;
        adapter = static_cast<int>(it - system_.adapters.begin());
    }
    out = std::make_shared<DirectDraw7>(system_, adapter);
    return DD_OK;
}

int32_t DirectX7::GetWindowRect(Window* window, RECT& rect) const {
    if (window == nullptr) return DDERR_INVALIDPARAMS;
    if (window->WindowState() == 2) {
        rect = RECT{0, 0, Window::kScreenWidth, Window::kScreenHeight};
        return DD_OK;
    }
    rect.Left = static_cast<int32_t>(std::lround(window->Left() / kTwipsPerPixel));
    rect.Top = static_cast<int32_t>(std::lround(window->Top() / kTwipsPerPixel));
    rect.Right = rect.Left + static_cast<int32_t>(std::lround(window->Width() / kTwipsPerPixel));
    rect.Bottom = rect.Top + static_cast<int32_t>(std::lround(window->Height() / kTwipsPerPixel));
    return DD_OK;
}

// ---- the display system ----

DisplaySystem::DisplaySystem() {
    adapters.push_back(AdapterSpec{"Primary Display Driver",
                                   "",
                                   "display",
                                   {{640, 480, 8},
                                    {640, 480, 16},
                                    {640, 480, 32},
                                    {800, 600, 16},
                                    {800, 600, 32},
                                    {800, 600, 32},
                                    {1024, 768, 32}}});
    current_ = desktopMode;
}

int32_t DisplaySystem::injected(const char* call) {
    auto it = injected_.find(std::string_view(call));
    if (it == injected_.end() || it->second.empty()) return DD_OK;
    const int32_t code = it->second.front();
    it->second.pop_front();
    return code;
}

void DisplaySystem::showOn(Window* window, const Surface& picture, int32_t left, int32_t top) {
    if (window == nullptr) return;
    Surface& target = window->surface();
    for (int32_t y = 0; y < picture.height(); ++y)
        for (int32_t x = 0; x < picture.width(); ++x)
            target.put(int64_t{left} + x, int64_t{top} + y, picture.at(x, y));
}

}  // namespace platform::dd
