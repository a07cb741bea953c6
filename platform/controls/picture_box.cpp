#include "platform/controls/picture_box.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/windows/desktop.h"
#include "platform/pictures/picture_cache.h"
#include "platform/pictures/picture_file.h"
#include "platform/drawing/system_colors.h"
#include "platform/windows/window.h"

namespace platform {

PictureBox::PictureBox(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {
    canvas_.setBackColor(Control::BackColor());
    canvas_.setForeColor(Control::ForeColor());
}

std::optional<int32_t> PictureBox::toPixels(float units) const {
    if (!std::isfinite(units) || units < 0) return std::nullopt;
    const double px = std::nearbyint(static_cast<double>(units) / parent().unitsPerPixel());
    if (px > kMaxPictureSide) return std::nullopt;
    return static_cast<int32_t>(px);
}

void PictureBox::setWidth(float v) {
    const auto px = toPixels(v);
    if (!px) return;
    Control::setWidth(static_cast<float>(*px) * parent().unitsPerPixel());
    surface_.resize(*px, surface_.height(), translateColor(BackColor()));
}

void PictureBox::setHeight(float v) {
    const auto px = toPixels(v);
    if (!px) return;
    Control::setHeight(static_cast<float>(*px) * parent().unitsPerPixel());
    surface_.resize(surface_.width(), *px, translateColor(BackColor()));
}

void PictureBox::setBackColor(Color c) {
    Control::setBackColor(c);
    canvas_.setBackColor(c);
    canvas_.Cls();
}

void PictureBox::setForeColor(Color c) {
    Control::setForeColor(c);
    canvas_.setForeColor(c);
}

bool PictureBox::loadPicture(const std::string& path) {
    const Color back = translateColor(BackColor());
    std::optional<Surface> picture = desktop().pictureCache().load(path, back);
    if (!picture) return false;
    if (autoSize_) {
        surface_ = std::move(*picture);  // shares the kept pixels until drawn on
        const float upp = parent().unitsPerPixel();
        Control::setWidth(static_cast<float>(surface_.width()) * upp);
        Control::setHeight(static_cast<float>(surface_.height()) * upp);
    } else {
        surface_.fill(back);
        const int32_t w = std::min(surface_.width(), picture->width());
        const int32_t h = std::min(surface_.height(), picture->height());
        for (int32_t y = 0; y < h; ++y)
            std::copy_n(std::as_const(*picture).row(y), w, surface_.row(y));
    }
    hasPicture_ = true;
    return true;
}

void PictureBox::clearPicture() {
    hasPicture_ = false;
    canvas_.Cls();
}

bool PictureBox::overBox(float x, float y) const {
    const float left = canvas_.ScaleLeft(), top = canvas_.ScaleTop();
    const float right = left + canvas_.ScaleWidth(), bottom = top + canvas_.ScaleHeight();
    return x >= std::min(left, right) && x < std::max(left, right) && y >= std::min(top, bottom) &&
           y < std::max(top, bottom);
}

bool PictureBox::releaseOver(float x, float y) const {
    return surface_.width() == 0 || surface_.height() == 0 || overBox(x, y);
}

bool PictureBox::userClick() {
    if (!acceptsInput()) return false;
    const float x = canvas_.ScaleLeft() + canvas_.ScaleWidth() / 2;
    const float y = canvas_.ScaleTop() + canvas_.ScaleHeight() / 2;
    userMouse(MouseAction::Down, x, y, 1, 0);
    userMouse(MouseAction::Up, x, y, 1, 0);
    return true;
}

std::optional<std::string> PictureBox::answerProperty(PropertyQuery& q) const {
    if (q.is("ScaleMode"))
        return propertyNumber(static_cast<int64_t>(static_cast<int>(canvas_.scaleMode())));
    if (q.is("ScaleWidth")) return propertyNumber(canvas_.ScaleWidth());
    if (q.is("ScaleHeight")) return propertyNumber(canvas_.ScaleHeight());
    return Control::answerProperty(q);
}

bool PictureBox::snapshot(const std::string& pngPath) const {
    return static_cast<bool>(writePng(surface_, pngPath));
}

}  // namespace platform
