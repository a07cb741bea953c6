#pragma once
// Everything one plug-in instance has of the platform: its event loop, locale,
// random numbers, the windows by name, the modal stack, the messages shown,
// and the answers waiting for the next common dialog.
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/event_loop.h"
#include "platform/runtime/locale.h"
#include "platform/pictures/picture_cache.h"
#include "platform/runtime/random.h"

namespace platform {

class CommonDialog;
class Window;
class TextRasterizer;

// The reply a common dialog gets from the user.
struct DialogAnswer {
    enum class Kind { File, Font, Cancel };
    Kind kind = Kind::Cancel;
    std::string path;
    std::string fontName;
    double fontSize = 0;
    bool bold = false, italic = false, underline = false, strikeout = false;
};

class Desktop {
  public:
    explicit Desktop(ClockMode mode = ClockMode::Virtual);
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    EventLoop& loop() { return loop_; }
    const Locale& locale() const { return locale_; }
    void setLocale(Locale l) { locale_ = std::move(l); }
    Random& random() { return random_; }
    // The decoded pictures every picture box of this instance shares.
    PictureCache& pictureCache() { return pictureCache_; }
    // Draws text in installed fonts; made on first use. Tests put a double
    // with known glyph boxes in its place.
    TextRasterizer& textRasterizer();
    void setTextRasterizer(std::unique_ptr<TextRasterizer> r);

    // Windows by name. `access` makes and loads the window when needed;
    // `peek` returns it only when it exists.
    void registerWindow(const std::string& name, std::function<Window&()> access,
                        std::function<Window*()> peek);
    void unregisterWindow(const std::string& name);
    // Accessing a window loads it (nullptr: no such name).
    Window* window(const std::string& name);
    Window* peekWindow(const std::string& name) const;
    std::vector<std::string> windowNames() const;

    // The modal stack: user input reaches only the topmost modal window. A
    // common dialog, which is no window of ours, waits as an entry without a
    // window that lets input reach no window.
    Window* topModal() const { return modalStack_.empty() ? nullptr : modalStack_.back().window; }
    // The common dialog that waits on top of the stack; nullptr when none does.
    const CommonDialog* waitingDialog() const {
        return modalStack_.empty() ? nullptr : modalStack_.back().dialog;
    }
    bool modalOpen() const { return !modalStack_.empty(); }
    void pushModal(Window* w) { modalStack_.push_back({w, nullptr}); }
    void popModal(Window* w);
    void pushDialog(const CommonDialog& d) { modalStack_.push_back({nullptr, &d}); }
    void popDialog(const CommonDialog& d);

    // Messages (message windows and message boxes). Called when one is shown,
    // before its modal wait; a hook that acknowledges it ends the wait at once.
    void messageShown(Window& w, const std::string& text);
    std::function<void(Window&, const std::string&)> onMessage;
    const std::string& lastMessage() const { return lastMessage_; }
    const std::vector<std::string>& messages() const { return messages_; }
    // When true (the default), every message is acknowledged as soon as it is
    // shown, after onMessage has seen it.
    bool autoAcknowledgeMessages = true;

    // Answers for the next common dialogs, in order.
    void queueDialogAnswer(DialogAnswer a) { dialogAnswers_.push_back(std::move(a)); }
    std::optional<DialogAnswer> takeDialogAnswer();
    size_t pendingDialogAnswers() const { return dialogAnswers_.size(); }

    // User actions that modal waits run, in order (tests queue them).
    void queueAction(std::function<void()> action) { actions_.push_back(std::move(action)); }
    // Runs one queued action, or asks `fallbackActions`; false when none.
    bool runNextAction();
    std::function<bool()> fallbackActions;

  private:
    struct Entry {
        std::string name;
        std::function<Window&()> access;
        std::function<Window*()> peek;
    };
    const Entry* entry(const std::string& name) const;

    EventLoop loop_;
    Locale locale_;
    Random random_;
    PictureCache pictureCache_;
    std::unique_ptr<TextRasterizer> textRasterizer_;
    std::vector<Entry> windows_;
    struct Modal {
        Window* window;
        const CommonDialog* dialog;
    };
    std::vector<Modal> modalStack_;
    std::string lastMessage_;
    std::vector<std::string> messages_;
    std::deque<DialogAnswer> dialogAnswers_;
    std::deque<std::function<void()>> actions_;
};

// Holds one window of type T: made and loaded on first access, made afresh
// after it was unloaded. Registers the window's name with the desktop.
template <class T>
class FormSlot {
  public:
    template <class... Args>
    FormSlot(Desktop& desktop, std::string name, Args&... args)
        : desktop_(desktop), name_(std::move(name)) {
        make_ = [this, &args...]() { return std::make_unique<T>(desktop_, args...); };
        desktop_.registerWindow(
            name_, [this]() -> Window& { return get(); }, [this]() -> Window* { return peek(); });
    }
    ~FormSlot() { desktop_.unregisterWindow(name_); }
    FormSlot(const FormSlot&) = delete;
    FormSlot& operator=(const FormSlot&) = delete;

    T& operator()() { return get(); }
    T& get() {
        if (form_ && form_->unloadRequested() && !form_->Visible())
            retired_.push_back(std::move(form_));
        if (!form_) form_ = make_();
        if (!form_->isLoaded()) form_->load();
        return *form_;
    }
    // The window if it exists, without loading it.
    T* peek() const { return form_ && !form_->unloadRequested() ? form_.get() : nullptr; }

  private:
    Desktop& desktop_;
    std::string name_;
    std::function<std::unique_ptr<T>()> make_;
    std::unique_ptr<T> form_;
    // Unloaded windows are kept until the slot goes: code of the old window
    // may still be running when it asks to be unloaded.
    std::vector<std::unique_ptr<T>> retired_;
};

}  // namespace platform
