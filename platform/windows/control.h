#pragma once
// The base of every control on a window: name and index (control arrays),
// enabled and visible flags, tooltip, colours, geometry, the events common to
// controls, and the user actions the driver performs on it.
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows/property_query.h"
#include "platform/drawing/surface.h"

namespace platform {

class Window;
class Desktop;

enum class MouseAction { Down, Move, Up };

// Why a user cannot reach a window or control now; None when they can. A
// modal wait is named first: it must end before anything else can be done.
enum class InputBlock {
    None,
    BehindModal,     // another window or a common dialog waits modally
    WindowNotShown,  // its window is not shown
    Hidden,          // the control is not visible
    Disabled,        // the control is disabled
};

// A user action the control cannot take (wrong kind of value, no such row...).
class UserActionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Control {
  public:
    Control(Window& parent, std::string name, int index = -1);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Window& parent() const { return parent_; }
    Desktop& desktop() const;
    const std::string& name() const { return name_; }
    int index() const { return index_; }  // -1: not part of a control array
    std::string path() const;             // "Window.name" or "Window.name(3)"
    virtual const char* kind() const = 0;

    bool Enabled() const { return enabled_; }
    virtual void setEnabled(bool on) { enabled_ = on; }
    bool Visible() const { return visible_; }
    virtual void setVisible(bool on) { visible_ = on; }
    const std::string& ToolTipText() const { return toolTip_; }
    void setToolTipText(std::string t) { toolTip_ = std::move(t); }
    Color BackColor() const { return backColor_; }
    virtual void setBackColor(Color c) { backColor_ = c; }
    Color ForeColor() const { return foreColor_; }
    virtual void setForeColor(Color c) { foreColor_ = c; }

    // Geometry in the window's scale units.
    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    void setLeft(float v) { left_ = v; }
    void setTop(float v) { top_ = v; }
    virtual void setWidth(float v) { width_ = v; }
    virtual void setHeight(float v) { height_ = v; }
    void move(float left, float top, float width, float height);

    // Events common to controls (unset handlers are simply not called).
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void(int button, int shift, float x, float y)> onMouseDown;
    std::function<void(int button, int shift, float x, float y)> onMouseMove;
    std::function<void(int button, int shift, float x, float y)> onMouseUp;
    // A key action raises KeyDown (the key and shift state, see key_codes.h),
    // then KeyPress (the character typed) while the control still takes input.
    std::function<void(int& keyCode, int shift)> onKeyDown;
    std::function<void(int& keyAscii)> onKeyPress;

    // True when a user can reach the control now: enabled, visible, its window
    // shown and not behind a modal window.
    bool acceptsInput() const { return inputBlock() == InputBlock::None; }
    // Why not, when it cannot.
    InputBlock inputBlock() const;

    // User actions. Each returns false when the control cannot take input now
    // (disabled, hidden, behind a modal window) and throws UserActionError when
    // the action makes no sense for this kind of control.
    virtual bool userClick();
    virtual bool userDblClick();
    virtual bool userSet(const std::string& value);
    virtual bool userKey(int keyAscii);
    virtual bool userMouse(MouseAction action, float x, float y, int button, int shift);

    // Script access: the value of a property by its name, as text; nullopt when
    // the control has no such property.
    std::optional<std::string> property(std::string_view name) const;
    // Every name property() answers, "Item(i)" for one that takes indexes.
    std::vector<std::string> propertyNames() const;
    // The ones that take indexes, with the range of each index.
    std::vector<IndexedProperty> indexedProperties() const;
    // The property that holds what the control shows or is set to ("Value",
    // "Text"), named when a script names the control where a property goes;
    // empty for a kind without one.
    virtual std::string_view defaultProperty() const { return {}; }

  protected:
    // Each kind answers its own properties and passes the query on to its base.
    virtual std::optional<std::string> answerProperty(PropertyQuery& q) const;
    // Whether a release at (x, y), in the control's own units, is over it (a
    // click follows only then).
    virtual bool releaseOver(float x, float y) const;
    void raise(const std::function<void()>& handler) {
        if (handler) handler();
    }
    // Raises KeyDown for the key that types `keyAscii`; false when its handler
    // left the control unable to take the key press that follows.
    bool keyDown(int keyAscii);

  private:
    Window& parent_;
    std::string name_;
    int index_;
    bool enabled_ = true;
    bool visible_ = true;
    std::string toolTip_;
    Color backColor_ = 0x00FFFFFF;
    Color foreColor_ = 0;
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int mouseButtons_ = 0;  // buttons held since the last down, for moves
};

// Formats numbers for property texts: whole numbers plainly, others with up to
// 15 significant digits and a '.' separator.
std::string propertyNumber(double v);
std::string propertyNumber(int64_t v);
inline std::string propertyNumber(int32_t v) {
    return propertyNumber(static_cast<int64_t>(v));
}
inline std::string propertyNumber(uint32_t v) {
    return propertyNumber(static_cast<int64_t>(v));
}
inline std::string propertyNumber(float v) {
    return propertyNumber(static_cast<double>(v));
}
inline std::string propertyBool(bool v) {
    return v ? "True" : "False";
}

}  // namespace platform

namespace platform {
// Colours print as signed 32-bit decimals, as the stored files write them.
inline std::string propertyColor(Color c) {
    return propertyNumber(static_cast<int64_t>(static_cast<int32_t>(c)));
}
}  // namespace platform
