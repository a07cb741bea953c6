#pragma once
// Performs what a user does: clicks, values, list rows and cells, keys, the
// mouse, answers to common dialogs; reads properties by name. Tests and the
// script runner both drive the system through it. Windows are reached by
// name, controls as "Window.control" or "Window.control(index)".
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows/control.h"
#include "platform/windows/desktop.h"

namespace platform {

class Window;

// An unknown window, control or property, or an action the target cannot take.
class DriverError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Why a target takes no user input now, with the windows that decide it.
struct InputRefusal {
    InputBlock block = InputBlock::None;
    // WindowNotShown: the target's window. BehindModal: the window that
    // waits, or the control of the common dialog that waits.
    std::string window;
    // A waiting common dialog's kind: "Open", "Save" or "Font"; empty when a
    // window waits.
    std::string dialog;
    // A waiting message window's text, and the buttons that answer it.
    std::optional<std::string> message;
    std::vector<std::string> answers;
};

struct TargetName {
    std::string window;
    std::string control;  // empty: the window itself
    int index = -1;
};

class UserDriver {
  public:
    explicit UserDriver(Desktop& desktop) : desktop_(desktop) {}

    // "W", "W.c" or "W.c(3)"; nullopt when malformed.
    static std::optional<TargetName> parseTarget(std::string_view text);

    Window& window(const std::string& name);
    // The control named by a target; throws DriverError for a window target.
    Control& control(std::string_view target);

    // Each action returns false when the target cannot take input now
    // (disabled, hidden, behind a modal window).
    bool click(std::string_view target);
    bool dblclick(std::string_view target);
    bool set(std::string_view target, const std::string& value);
    bool select(std::string_view target, int row, int column = 0, int button = 1);
    bool dblclickRow(std::string_view target, int row, int column = 0);
    bool edit(std::string_view target, int row, int column, const std::string& text);
    bool spin(std::string_view target, bool up);
    bool key(std::string_view target, int keyAscii);
    bool mouse(std::string_view target, MouseAction action, float x, float y, int button = 1,
               int shift = 0);
    bool close(std::string_view window);

    void answerFile(const std::string& path);
    void answerFont(const std::string& name, double size, bool bold = false, bool italic = false,
                    bool underline = false, bool strikeout = false);
    void answerCancel();

    // Why the window or control takes no user input now; nullopt when it
    // does (an action it refused then failed for a reason of its own kind).
    std::optional<InputRefusal> refusal(std::string_view target);
    // The window or common dialog that waits modally on top of the others,
    // as refusal() names it; nullopt when none waits.
    std::optional<InputRefusal> modalWait() const;

    // "W.Prop" or "W.c.Prop" / "W.c(3).Prop"; throws DriverError when unknown.
    std::string property(std::string_view targetAndProperty);
    // Writes the pixels of a picture box or a window's surface as PNG.
    bool snapshot(std::string_view target, const std::string& pngPath);

  private:
    Desktop& desktop_;
};

}  // namespace platform
