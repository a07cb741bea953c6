#pragma once
// A top-level window: geometry in twips, caption, visibility, modal or
// modeless display, its controls by name, a drawing surface, and the form
// events (Load, Resize, Activate, Paint, Click, KeyDown, KeyPress,
// QueryUnload, Unload).
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows/control.h"
#include "platform/drawing/surface.h"

namespace platform {

class Desktop;

constexpr float kTwipsPerPixel = 15.0f;

// Why QueryUnload runs: the window's close box, or Unload called by code.
constexpr int kUnloadFromCloseBox = 0;
constexpr int kUnloadFromCode = 1;

enum class ScaleMode { User = 0, Twips = 1, Pixels = 3 };

// Window style bits the system toggles.
constexpr uint32_t WS_CAPTION = 0x00C00000u;
constexpr uint32_t WS_DEFAULT = 0x16CF0000u;  // overlapped window with caption and frame

class Window {
  public:
    Window(Desktop& desktop, std::string name);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    Desktop& desktop() const { return desktop_; }
    const std::string& name() const { return name_; }

    // Life cycle. load() runs Form_Load once; the window slot calls it on the
    // first access to the window or any of its controls.
    bool isLoaded() const { return loaded_; }
    void load();
    // Shows the window: Resize on the first show after loading, Activate on
    // every show, then Paint. Modal: returns when the window is hidden again
    // (a modal window shown again while it waits returns at once). After the
    // first show every size change raises Resize, shown or hidden, and a shown
    // window whose client area changed size is painted afresh (Paint).
    void Show(bool modal = false);
    void Hide();
    bool Visible() const { return visible_; }
    bool isModal() const { return modal_; }
    // Unloads the window: QueryUnload (mode kUnloadFromCode), then Unload;
    // unless one of them cancels, the window hides and the next access through
    // its slot makes and loads a fresh one. Nothing happens when not loaded.
    void Unload();
    bool unloadRequested() const { return unloadRequested_; }

    const std::string& Caption() const { return caption_; }
    void setCaption(std::string c) { caption_ = std::move(c); }

    // Outer geometry in twips (single precision).
    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    void setLeft(float v) { left_ = v; }
    void setTop(float v) { top_ = v; }
    void setWidth(float v);
    void setHeight(float v);
    void move(float left, float top, float width, float height);

    // 0 normal, 1 minimised, 2 maximised (to the screen's size); other
    // values are ignored.
    int WindowState() const { return windowState_; }
    void setWindowState(int state);
    // The window style word; without WS_CAPTION the client area grows by the
    // caption's height.
    uint32_t Style() const { return style_; }
    void setStyle(uint32_t style);
    // Applies a changed style to the frame (SetWindowPos with frame changed).
    void frameChanged();

    // The client area in the window's scale units and in pixels.
    ScaleMode scaleMode() const { return scaleMode_; }
    void setScaleMode(ScaleMode m) { scaleMode_ = m; }
    float ScaleWidth() const;
    float ScaleHeight() const;
    int32_t clientPixelWidth() const;
    int32_t clientPixelHeight() const;
    // Window units -> pixels for controls placed on it.
    float unitsPerPixel() const { return scaleMode_ == ScaleMode::Pixels ? 1.0f : kTwipsPerPixel; }

    // The window's own drawing surface (forms are drawn on), client-sized.
    Surface& surface();
    Color BackColor() const { return backColor_; }
    void setBackColor(Color c) { backColor_ = c; }
    void Cls();

    // Controls. add() makes one on this window and registers it by name
    // (and index, for control arrays).
    template <class T, class... Args>
    T& add(Args&&... args) {
        auto c = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T& ref = *c;
        registerControl(std::move(c));
        return ref;
    }
    Control* find(std::string_view name, int index = -1) const;
    std::vector<Control*> controls() const;

    // A message window tells its text; the driver prints and acknowledges it.
    virtual std::optional<std::string> messageText() const { return std::nullopt; }
    virtual void acknowledge() { Hide(); }

    // User actions on the window itself, which takes them when it is shown
    // and no other window or dialog waits modally.
    bool acceptsInput() const { return inputBlock() == InputBlock::None; }
    InputBlock inputBlock() const;
    bool userClick();
    // KeyDown (key and shift state, see key_codes.h), then KeyPress while the
    // window still takes input.
    bool userKey(int keyAscii);
    // The close box: QueryUnload (mode kUnloadFromCloseBox), then Unload
    // unless cancelled.
    bool userClose();

    // Script access: the value of a property by its name, as text; nullopt when
    // the window has no such property.
    std::optional<std::string> property(std::string_view name) const;
    // Every name property() answers.
    std::vector<std::string> propertyNames() const;

    // Screen size in pixels (for maximised windows).
    static constexpr int32_t kScreenWidth = 1920;
    static constexpr int32_t kScreenHeight = 1080;

  protected:
    // A window answers its own properties and passes the query on to Window's.
    virtual std::optional<std::string> answerProperty(PropertyQuery& q) const;

    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    virtual void Form_Activate() {}
    virtual void Form_Paint() {}
    virtual void Form_Click() {}
    virtual void Form_KeyDown(int& keyCode, int shift) {
        (void)keyCode;
        (void)shift;
    }
    virtual void Form_KeyPress(int& keyAscii) { (void)keyAscii; }
    virtual void Form_QueryUnload(int& cancel, int unloadMode) {
        (void)cancel;
        (void)unloadMode;
    }
    virtual void Form_Unload(int& cancel) { (void)cancel; }

  private:
    void registerControl(std::unique_ptr<Control> c);
    // After a size change: Resize once the window was shown, Paint when shown.
    void sizeChanged();
    void resized();
    bool unloadWith(int unloadMode);
    float nonClientWidthPx() const;
    float nonClientHeightPx() const;

    Desktop& desktop_;
    std::string name_;
    bool loaded_ = false;
    bool loading_ = false;
    bool visible_ = false;
    bool modal_ = false;
    bool shownSinceLoad_ = false;
    bool unloadRequested_ = false;
    bool unloading_ = false;
    std::string caption_;
    float left_ = 0, top_ = 0, width_ = 4800, height_ = 3600;
    int windowState_ = 0;
    uint32_t style_ = WS_DEFAULT;
    uint32_t appliedStyle_ = WS_DEFAULT;
    ScaleMode scaleMode_ = ScaleMode::Twips;
    Color backColor_ = 0x00F0F0F0;
    Surface surface_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<std::string, Control*, std::less<>> byKey_;
};

}  // namespace platform
