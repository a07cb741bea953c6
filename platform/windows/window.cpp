#include "platform/windows/window.h"

#include <algorithm>
#include <cmath>

#include "platform/windows/desktop.h"
#include "platform/windows/key_codes.h"

namespace platform {

namespace {
constexpr float kBorderPx = 4.0f;    // frame on each side
constexpr float kCaptionPx = 22.0f;  // caption bar

std::string controlKey(std::string_view name, int index) {
    std::string k(name);
    if (index >= 0) k.append("(").append(std::to_string(index)).append(")");
    return k;
}
}  // namespace

Window::Window(Desktop& desktop, std::string name) : desktop_(desktop), name_(std::move(name)) {
    caption_ = name_;
}

Window::~Window() {
    if (modal_) desktop_.popModal(this);
}

void Window::load() {
    if (loaded_ || loading_) return;
    loading_ = true;
    unloadRequested_ = false;
    shownSinceLoad_ = false;
    struct Done {
        Window* w;
        ~Done() { w->loading_ = false; }
    } done{this};
    loaded_ = true;  // controls touched by the handler must not load again
    surface_.resize(clientPixelWidth(), clientPixelHeight(), backColor_);
    Form_Load();
}

void Window::Show(bool modal) {
    if (!loaded_) load();
    if (modal_ && visible_) {
        // Already waiting modally: the new text is shown and the caller returns at once.
        if (auto text = messageText()) desktop_.messageShown(*this, *text);
        return;
    }
    visible_ = true;
    if (!shownSinceLoad_) {
        shownSinceLoad_ = true;
        resized();
    }
    Form_Activate();
    Form_Paint();
    if (!modal || !visible_) return;
    if (auto text = messageText()) {
        desktop_.messageShown(*this, *text);
        if (!visible_) return;
    }
    modal_ = true;
    desktop_.pushModal(this);
    struct Pop {
        Window* w;
        ~Pop() {
            w->modal_ = false;
            w->desktop_.popModal(w);
        }
    } pop{this};
    desktop_.loop().runModal(name_, [this] { return visible_; });
}

void Window::Hide() {
    visible_ = false;
}

void Window::Unload() {
    unloadWith(kUnloadFromCode);
}

bool Window::unloadWith(int unloadMode) {
    // A handler that unloads its own window again is inside this unload already.
    if (!loaded_ || unloading_) return false;
    unloading_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{unloading_};
    int cancel = 0;
    Form_QueryUnload(cancel, unloadMode);
    if (cancel) return false;
    Form_Unload(cancel);
    if (cancel) return false;
    visible_ = false;
    loaded_ = false;
    unloadRequested_ = true;
    return true;
}

void Window::setWidth(float v) {
    if (v == width_) return;
    width_ = v;
    sizeChanged();
}

void Window::setHeight(float v) {
    if (v == height_) return;
    height_ = v;
    sizeChanged();
}

void Window::move(float left, float top, float width, float height) {
    left_ = left;
    top_ = top;
    const bool changed = width != width_ || height != height_;
    width_ = width;
    height_ = height;
    if (changed) sizeChanged();
}

void Window::setWindowState(int state) {
    if (state == windowState_ || state < 0 || state > 2) return;
    windowState_ = state;
    sizeChanged();
}

void Window::setStyle(uint32_t style) {
    style_ = style;
}

void Window::frameChanged() {
    if (appliedStyle_ == style_) return;
    appliedStyle_ = style_;
    sizeChanged();
}

float Window::nonClientWidthPx() const {
    return 2 * kBorderPx;
}

float Window::nonClientHeightPx() const {
    return 2 * kBorderPx + ((appliedStyle_ & WS_CAPTION) ? kCaptionPx : 0.0f);
}

int32_t Window::clientPixelWidth() const {
    if (windowState_ == 2) return kScreenWidth;
    const float px = width_ / kTwipsPerPixel - nonClientWidthPx();
    return std::max<int32_t>(0,
                             static_cast<int32_t>(std::nearbyint(std::clamp(px, 0.0f, 32767.0f))));
}

int32_t Window::clientPixelHeight() const {
    if (windowState_ == 2) return kScreenHeight;
    const float px = height_ / kTwipsPerPixel - nonClientHeightPx();
    return std::max<int32_t>(0,
                             static_cast<int32_t>(std::nearbyint(std::clamp(px, 0.0f, 32767.0f))));
}

float Window::ScaleWidth() const {
    return static_cast<float>(clientPixelWidth()) * unitsPerPixel();
}

float Window::ScaleHeight() const {
    return static_cast<float>(clientPixelHeight()) * unitsPerPixel();
}

Surface& Window::surface() {
    surface_.resize(clientPixelWidth(), clientPixelHeight(), backColor_);
    return surface_;
}

void Window::Cls() {
    surface().fill(backColor_);
}

void Window::sizeChanged() {
    // Before the first show the show's own Resize covers every change.
    if (!shownSinceLoad_) return;
    const int32_t oldWidth = surface_.width(), oldHeight = surface_.height();
    resized();
    const bool clientChanged = surface_.width() != oldWidth || surface_.height() != oldHeight;
    if (visible_ && clientChanged) Form_Paint();
}

void Window::resized() {
    surface_.resize(clientPixelWidth(), clientPixelHeight(), backColor_);
    Form_Resize();
}

void Window::registerControl(std::unique_ptr<Control> c) {
    byKey_[controlKey(c->name(), c->index())] = c.get();
    controls_.push_back(std::move(c));
}

Control* Window::find(std::string_view name, int index) const {
    auto it = byKey_.find(controlKey(name, index));
    return it == byKey_.end() ? nullptr : it->second;
}

std::vector<Control*> Window::controls() const {
    std::vector<Control*> out;
    out.reserve(controls_.size());
    for (const auto& c : controls_) out.push_back(c.get());
    return out;
}

InputBlock Window::inputBlock() const {
    if (desktop_.modalOpen() && desktop_.topModal() != this) return InputBlock::BehindModal;
    return visible_ ? InputBlock::None : InputBlock::WindowNotShown;
}

bool Window::userClick() {
    if (!acceptsInput()) return false;
    Form_Click();
    return true;
}

bool Window::userKey(int keyAscii) {
    if (!acceptsInput()) return false;
    KeyStroke k = keyStrokeFor(keyAscii);
    Form_KeyDown(k.keyCode, k.shift);
    // A KeyDown handler that hid or unloaded the window took the key press with it.
    if (acceptsInput()) Form_KeyPress(keyAscii);
    return true;
}

bool Window::userClose() {
    if (!acceptsInput()) return false;
    unloadWith(kUnloadFromCloseBox);
    return true;
}

std::optional<std::string> Window::property(std::string_view name) const {
    PropertyQuery q(name);
    return answerProperty(q);
}

std::vector<std::string> Window::propertyNames() const {
    PropertyQuery q = PropertyQuery::listing();
    answerProperty(q);
    return q.names();
}

std::optional<std::string> Window::answerProperty(PropertyQuery& q) const {
    if (q.is("Caption")) return caption_;
    if (q.is("Visible")) return propertyBool(visible_);
    if (q.is("Loaded")) return propertyBool(loaded_);
    if (q.is("Modal")) return propertyBool(modal_);
    if (q.is("Left")) return propertyNumber(left_);
    if (q.is("Top")) return propertyNumber(top_);
    if (q.is("Width")) return propertyNumber(width_);
    if (q.is("Height")) return propertyNumber(height_);
    if (q.is("WindowState")) return propertyNumber(static_cast<int64_t>(windowState_));
    if (q.is("ScaleWidth")) return propertyNumber(ScaleWidth());
    if (q.is("ScaleHeight")) return propertyNumber(ScaleHeight());
    if (q.is("Style")) return propertyNumber(static_cast<int64_t>(style_));
    if (q.is("BackColor")) return propertyColor(backColor_);
    if (q.is("Name")) return name_;
    return std::nullopt;
}

}  // namespace platform
