#include "platform/controls/slider.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace platform {

Slider::Slider(Window& parent, std::string name, int index)
    : Control(parent, std::move(name), index) {}

int32_t Slider::clamp(int64_t v) const {
    const int64_t lo = std::min(min_, max_);
    const int64_t hi = std::max(min_, max_);
    return static_cast<int32_t>(std::clamp(v, lo, hi));
}

bool Slider::store(int64_t v) {
    const int32_t next = clamp(v);
    if (next == value_) return false;
    value_ = next;
    return true;
}

void Slider::setMin(int32_t v) {
    min_ = v;
    if (store(value_)) raise(onChange);
}

void Slider::setMax(int32_t v) {
    max_ = v;
    if (store(value_)) raise(onChange);
}

void Slider::setValue(int32_t v) {
    if (store(v)) raise(onChange);
}

bool Slider::userSet(const std::string& value) {
    if (!acceptsInput()) return false;
    std::string_view s(value);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    const bool plus = !s.empty() && s.front() == '+';
    if (plus) s.remove_prefix(1);
    int64_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || (plus && s.front() == '-') || end != s.data() + s.size() ||
        (ec != std::errc() && ec != std::errc::result_out_of_range)) {
        throw UserActionError("not a whole number: \"" + value + "\" for " + path());
    }
    // Numbers too large even for 64 bits still land on the nearer end.
    if (ec == std::errc::result_out_of_range) {
        v = s.front() == '-' ? std::numeric_limits<int64_t>::min()
                             : std::numeric_limits<int64_t>::max();
    }
    if (store(v)) raise(onChange);
    return true;
}

bool Slider::userScroll(int v) {
    if (!acceptsInput()) return false;
    if (!dragging_) {
        dragging_ = true;
        dragStart_ = value_;
    }
    store(v);
    raise(onScroll);
    return true;
}

bool Slider::userRelease() {
    if (!dragging_) return false;
    dragging_ = false;
    if (!acceptsInput()) return false;
    if (value_ != dragStart_) raise(onChange);
    return true;
}

std::optional<int32_t> Slider::valueAt(float x, float y) const {
    const bool vertical = orientation_ == 1;
    const double extent = vertical ? Height() : Width();
    const double pos = vertical ? y : x;
    if (!(extent > 0) || !std::isfinite(pos)) return std::nullopt;
    double t = std::clamp(pos / extent, 0.0, 1.0);
    if (vertical) t = 1.0 - t;
    const double v = min_ + t * (static_cast<double>(max_) - min_);
    return clamp(static_cast<int64_t>(std::nearbyint(v)));
}

bool Slider::userMouse(MouseAction action, float x, float y, int button, int shift) {
    if (!Control::userMouse(action, x, y, button, shift)) return false;
    const auto v = valueAt(x, y);
    switch (action) {
        case MouseAction::Down:
            if ((button & 1) != 0 && v) userScroll(*v);
            break;
        case MouseAction::Move:
            if (dragging_ && v) userScroll(*v);
            break;
        case MouseAction::Up:
            if ((button & 1) == 0 || !dragging_) break;
            if (v) store(*v);
            userRelease();
            break;
    }
    return true;
}

std::optional<std::string> Slider::answerProperty(PropertyQuery& q) const {
    if (q.is("Value")) return propertyNumber(value_);
    if (q.is("Min")) return propertyNumber(min_);
    if (q.is("Max")) return propertyNumber(max_);
    if (q.is("Orientation")) return propertyNumber(static_cast<int64_t>(orientation_));
    if (q.is("SmallChange")) return propertyNumber(smallChange_);
    if (q.is("LargeChange")) return propertyNumber(largeChange_);
    return Control::answerProperty(q);
}

}  // namespace platform
