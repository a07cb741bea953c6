#include "platform/windows/desktop.h"

#include <algorithm>

#include "platform/text/text_render.h"
#include "platform/windows/window.h"

namespace platform {

Desktop::Desktop(ClockMode mode) : loop_(mode) {
    loop_.setActionSource([this] { return runNextAction(); });
}

Desktop::~Desktop() = default;

TextRasterizer& Desktop::textRasterizer() {
    if (!textRasterizer_) textRasterizer_ = makeSystemTextRasterizer();
    return *textRasterizer_;
}

void Desktop::setTextRasterizer(std::unique_ptr<TextRasterizer> r) {
    textRasterizer_ = std::move(r);
}

void Desktop::registerWindow(const std::string& name, std::function<Window&()> access,
                             std::function<Window*()> peek) {
    unregisterWindow(name);
    windows_.push_back(Entry{name, std::move(access), std::move(peek)});
}

void Desktop::unregisterWindow(const std::string& name) {
    std::erase_if(windows_, [&](const Entry& e) { return e.name == name; });
}

const Desktop::Entry* Desktop::entry(const std::string& name) const {
    for (const auto& e : windows_)
        if (e.name == name) return &e;
    return nullptr;
}

Window* Desktop::window(const std::string& name) {
    const Entry* e = entry(name);
    return e ? &e->access() : nullptr;
}

Window* Desktop::peekWindow(const std::string& name) const {
    const Entry* e = entry(name);
    return e ? e->peek() : nullptr;
}

std::vector<std::string> Desktop::windowNames() const {
    std::vector<std::string> names;
    for (const auto& e : windows_) names.push_back(e.name);
    return names;
}

void Desktop::popModal(Window* w) {
    auto it = std::find_if(modalStack_.rbegin(), modalStack_.rend(),
                           [w](const Modal& m) { return m.window == w && !m.dialog; });
    if (it != modalStack_.rend()) modalStack_.erase(std::next(it).base());
}

void Desktop::popDialog(const CommonDialog& d) {
    auto it = std::find_if(modalStack_.rbegin(), modalStack_.rend(),
                           [&d](const Modal& m) { return m.dialog == &d; });
    if (it != modalStack_.rend()) modalStack_.erase(std::next(it).base());
}

void Desktop::messageShown(Window& w, const std::string& text) {
    lastMessage_ = text;
    messages_.push_back(text);
    if (onMessage) onMessage(w, text);
    if (autoAcknowledgeMessages && w.Visible()) w.acknowledge();
}

std::optional<DialogAnswer> Desktop::takeDialogAnswer() {
    if (dialogAnswers_.empty()) return std::nullopt;
    DialogAnswer a = std::move(dialogAnswers_.front());
    dialogAnswers_.pop_front();
    return a;
}

bool Desktop::runNextAction() {
    if (!actions_.empty()) {
        auto action = std::move(actions_.front());
        actions_.pop_front();
        action();
        return true;
    }
    return fallbackActions ? fallbackActions() : false;
}

}  // namespace platform
