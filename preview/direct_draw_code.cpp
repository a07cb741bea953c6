#include "preview/direct_draw_code.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/convert.h"
#include "platform/windows/window.h"

namespace kavrel {

namespace dd = platform::dd;

namespace {

int16_t to16(int64_t v) {
    return static_cast<int16_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
}

int64_t rounded(double v) {
    return static_cast<int64_t>(platform::roundHalfEven(v));
}

constexpr DisplayMode kFallbackMode{640, 480, 8};

}  // namespace

DirectDrawCode::DirectDrawCode(dd::DisplaySystem& display, SharedState& state,
                               std::function<void(int32_t)> reportError,
                               std::function<void()> unloadWindow)
    : display_(display),
      state_(state),
      reportError_(std::move(reportError)),
      unloadWindow_(std::move(unloadWindow)) {}

int16_t DirectDrawCode::getAdapterCount() {
    if (!ddRoot_) ddRoot_ = std::make_unique<dd::DirectX7>(display_);
    const int32_t count = ddRoot_->GetDDEnum()->GetCount();
    return static_cast<int16_t>(std::clamp<int32_t>(count, 0, INT16_MAX));
}

AdapterInfo DirectDrawCode::openAdapter(int32_t index) {
    AdapterInfo info;
    if (index > getAdapterCount() || index < 1) return info;
    const auto adapters = ddRoot_->GetDDEnum();
    info.description = adapters->GetDescription(index);
    info.guid = adapters->GetGuid(index);
    info.name = adapters->GetName(index);
    info.modes.resize(1);
    // A separate object: the running preview's own stays untouched.
    std::shared_ptr<dd::DirectDraw7> object;
    if (ddRoot_->DirectDrawCreate(info.guid, object) != dd::DD_OK) return info;
    std::unique_ptr<dd::DirectDrawEnumModes> modes;
    if (object->GetDisplayModesEnum(0, dd::DDSURFACEDESC2{}, modes) != dd::DD_OK) return info;
    info.modeCount = modes->GetCount();
    info.modes.resize(static_cast<size_t>(info.modeCount) + 1);
    for (int32_t i = 1; i <= info.modeCount; ++i) {
        dd::DDSURFACEDESC2 desc;
        if (!modes->GetItem(i, desc)) continue;
        info.modes[static_cast<size_t>(i)] =
            DisplayMode{desc.lWidth, desc.lHeight, desc.ddpfPixelFormat.lRGBBitCount};
    }
    return info;
}

void DirectDrawCode::setWindowedGeometry(platform::Window& window, DisplayMode& mode) {
    window.setScaleMode(platform::ScaleMode::Pixels);
    const double w = window.ScaleWidth(), h = window.ScaleHeight();
    const int cols = state_.gridCols() > 0 ? state_.gridCols() : 1;
    const int rows = state_.gridRows() > 0 ? state_.gridRows() : 1;
    state_.simCellWidth = to16(platform::divTrunc(rounded(w - 20), cols));
    state_.simCellHeight = to16(platform::divTrunc(rounded(h - 48), rows));
    state_.simOffsetX =
        to16(platform::intFloor((w - 20 - static_cast<double>(cols) * state_.simCellWidth) / 2));
    state_.simOffsetY =
        to16(platform::intFloor((h - 48 - static_cast<double>(rows) * state_.simCellHeight) / 2));
    mode.width = static_cast<int32_t>(std::clamp<int64_t>(rounded(w - 20), INT32_MIN, INT32_MAX));
    mode.height = static_cast<int32_t>(std::clamp<int64_t>(rounded(h - 48), INT32_MIN, INT32_MAX));
}

void DirectDrawCode::setFullScreenGeometry(const DisplayMode& mode) {
    const int cols = state_.gridCols() > 0 ? state_.gridCols() : 1;
    const int rows = state_.gridRows() > 0 ? state_.gridRows() : 1;
    state_.simCellWidth = to16(platform::divTrunc(mode.width, cols));
    state_.simCellHeight = to16(platform::divTrunc(mode.height, rows));
    state_.simOffsetX = 0;
    state_.simOffsetY = 0;
}

void DirectDrawCode::startDirectDraw(platform::Window& window, DisplayMode& mode,
                                     const std::string& guid, int32_t backBufferCount,
                                     bool fullScreen) {
    if (fullScreen) {
        setFullScreenGeometry(mode);
    } else {
        setWindowedGeometry(window, mode);
    }
    initDirectDraw(window, mode, backBufferCount, fullScreen, guid);
    if (state_.directDrawReady) renderFrameDX();
}

int32_t DirectDrawCode::setMode(DisplayMode& mode) {
    int32_t r = ddObject_->SetDisplayMode(mode.width, mode.height, mode.bitsPerPixel, 0, 0);
    const bool isFallback = mode.width == kFallbackMode.width &&
                            mode.height == kFallbackMode.height &&
                            mode.bitsPerPixel == kFallbackMode.bitsPerPixel;
    if (r == dd::DDERR_INVALIDMODE && !isFallback) {
        mode = kFallbackMode;
        r = ddObject_->SetDisplayMode(mode.width, mode.height, mode.bitsPerPixel, 0, 0);
        // The cells follow the mode actually set, so the grid stays on screen.
        if (r == dd::DD_OK) setFullScreenGeometry(mode);
    }
    return r;
}

void DirectDrawCode::initDirectDraw(platform::Window& window, DisplayMode& mode,
                                    int32_t backBufferCount, bool fullScreen, std::string guid) {
    if (!ddRoot_) ddRoot_ = std::make_unique<dd::DirectX7>(display_);
    window_ = &window;
    fullScreen_ = fullScreen;
    int32_t r = ddRoot_->DirectDrawCreate(guid, ddObject_);
    if (r == dd::DDERR_GENERIC) {
        guid.clear();  // the primary display driver
        r = ddRoot_->DirectDrawCreate(guid, ddObject_);
    }
    const auto quit = [this] { releaseDirectDraw(); };
    if (r != dd::DD_OK) return quit();

    if (fullScreen) {
        if (ddObject_->SetCooperativeLevel(&window, dd::DDSCL_FULLSCREEN | dd::DDSCL_EXCLUSIVE) !=
                dd::DD_OK ||
            setMode(mode) != dd::DD_OK)
            return quit();
        ddPrimaryDesc_ = dd::DDSURFACEDESC2{};
        ddPrimaryDesc_.lFlags = dd::DDSD_CAPS | dd::DDSD_BACKBUFFERCOUNT;
        ddPrimaryDesc_.ddsCaps.lCaps =
            dd::DDSCAPS_PRIMARYSURFACE | dd::DDSCAPS_FLIP | dd::DDSCAPS_COMPLEX;
        ddPrimaryDesc_.lBackBufferCount = backBufferCount;
        if (ddObject_->CreateSurface(ddPrimaryDesc_, ddPrimary_) != dd::DD_OK) return quit();
        ddBackCaps_.lCaps = dd::DDSCAPS_BACKBUFFER | dd::DDSCAPS_COMPLEX;
        if (ddPrimary_->GetAttachedSurface(ddBackCaps_, ddBack_) != dd::DD_OK) return quit();
        if (ddBack_->GetSurfaceDesc(ddBackDesc_) != dd::DD_OK) return quit();
    } else {
        if (ddObject_->SetCooperativeLevel(&window, dd::DDSCL_NORMAL) != dd::DD_OK) return quit();
        ddPrimaryDesc_ = dd::DDSURFACEDESC2{};
        ddPrimaryDesc_.lFlags = dd::DDSD_CAPS;
        ddPrimaryDesc_.ddsCaps.lCaps = dd::DDSCAPS_PRIMARYSURFACE;
        if (ddObject_->CreateSurface(ddPrimaryDesc_, ddPrimary_) != dd::DD_OK) return quit();
        ddBackDesc_ = dd::DDSURFACEDESC2{};
        ddBackDesc_.lFlags = dd::DDSD_CAPS | dd::DDSD_HEIGHT | dd::DDSD_WIDTH;
        ddBackDesc_.ddsCaps.lCaps = dd::DDSCAPS_OFFSCREENPLAIN;
        ddBackDesc_.lHeight = mode.height;
        ddBackDesc_.lWidth = mode.width;
        if (ddObject_->CreateSurface(ddBackDesc_, ddBack_) != dd::DD_OK) return quit();
        if (ddObject_->CreateClipper(0, ddClipper_) != dd::DD_OK) return quit();
        if (ddClipper_->SetHWnd(&window) != dd::DD_OK) return quit();
        if (ddPrimary_->SetClipper(ddClipper_) != dd::DD_OK) return quit();
    }
    state_.directDrawReady = true;
}

void DirectDrawCode::renderFrameDX() {
    if (!ddBack_ || !ddPrimary_) return;
    if (!clearBackBuffer(state_.simFrameColor)) return;
    if (!drawCellsDX()) return;
    presentFrame();
}

bool DirectDrawCode::clearBackBuffer(uint32_t colour) {
    if (!ddBack_) return false;
    // The fill takes a pixel value of the surface's own format.
    const uint32_t pixel = dd::toPixel(ddBack_->format(), colour);
    ddLastResult = ddBack_->BltColorFill(ddFillRect_, pixel);
    if (ddLastResult != dd::DD_OK) return fail(ddLastResult);
    return true;
}

bool DirectDrawCode::drawCellsDX() {
    if (!ddBack_) return false;
    dd::DirectDrawSurface7& back = *ddBack_;
    if ((ddLastResult = back.SetDrawWidth(1)) != dd::DD_OK) return fail(ddLastResult);
    if (state_.simShowFrame &&
        (ddLastResult = back.SetForeColor(state_.simFrameColor)) != dd::DD_OK)
        return fail(ddLastResult);
    const int cols = state_.gridCols(), rows = state_.gridRows();
    const int64_t cw = state_.simCellWidth, ch = state_.simCellHeight;
    const int64_t ox = state_.simOffsetX, oy = state_.simOffsetY;
    const auto clamp32 = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };
    for (int x = 0; x < cols; ++x) {
        for (int y = 0; y < rows; ++y) {
            const platform::Color c = state_.frameM.rgb(x, y);
            if ((ddLastResult = back.SetFillColor(c)) != dd::DD_OK) return fail(ddLastResult);
            if (!state_.simShowFrame && (ddLastResult = back.SetForeColor(c)) != dd::DD_OK)
                return fail(ddLastResult);
            ddLastResult = back.DrawBox(clamp32(x * cw + ox), clamp32(y * ch + oy),
                                        clamp32((x + 1) * cw + ox), clamp32((y + 1) * ch + oy));
            if (ddLastResult != dd::DD_OK) return fail(ddLastResult);
        }
    }
    return true;
}

bool DirectDrawCode::presentFrame() {
    if (!ddPrimary_ || !ddBack_) return false;
    if (fullScreen_) {
        ddLastResult = ddPrimary_->Flip(nullptr, dd::DDFLIP_NOVSYNC);
        if (ddLastResult != dd::DD_OK) return fail(ddLastResult);
        return true;
    }
    ddLastResult = ddRoot_->GetWindowRect(window_, ddDestRect_);
    if (ddLastResult != dd::DD_OK) return fail(ddLastResult);
    ddDestRect_.Top += 38;
    ddDestRect_.Left += 5;
    ddDestRect_.Right -= 5;
    ddDestRect_.Bottom -= 5;
    ddSourceRect_ = dd::RECT{0, 0, ddBackDesc_.lWidth, ddBackDesc_.lHeight};
    ddLastResult = ddPrimary_->Blt(ddDestRect_, ddBack_.get(), ddSourceRect_, dd::DDBLT_WAIT);
    if (ddLastResult != dd::DD_OK) return fail(ddLastResult);
    return true;
}

bool DirectDrawCode::fail(int32_t result) {
    releaseDirectDraw();
    reportError_(result);
    return false;
}

void DirectDrawCode::releaseDirectDraw() {
    ddClipper_.reset();
    ddBack_.reset();
    ddPrimary_.reset();
    if (ddObject_) {
        ddObject_->RestoreDisplayMode();
        ddObject_->SetCooperativeLevel(nullptr, dd::DDSCL_NORMAL);
    }
    state_.directDrawReady = false;
    ddObject_.reset();
    window_ = nullptr;
    unloadWindow_();
}

}  // namespace kavrel
