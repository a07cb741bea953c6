#pragma once
// A picture box: a control with its own persistent pixel buffer that keeps
// its drawing while hidden, a canvas to draw on it, a device-context handle
// for the GDI stand-ins, and a picture loaded from a file.
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows/canvas.h"
#include "platform/windows/control.h"
#include "platform/drawing/gdi.h"
#include "platform/drawing/surface.h"

namespace platform {

class PictureBox : public Control {
  public:
    PictureBox(Window& parent, std::string name, int index = -1);
    const char* kind() const override { return "PictureBox"; }

    // Width and Height are in the window's units; the buffer follows in whole
    // pixels (half to even), keeping its pixels and filling new area with
    // BackColor. Negative, non-finite or over-large sizes are ignored.
    void setWidth(float v) override;
    void setHeight(float v) override;
    // Setting BackColor clears the box to the new colour.
    void setBackColor(Color c) override;
    void setForeColor(Color c) override;

    // With AutoSize a loaded picture gives the box its size; without it the
    // picture is drawn at the top left over BackColor and clipped to the box.
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on) { autoSize_ = on; }
    // Loads a picture file; its transparent pixels show BackColor. False, with
    // the box unchanged, when the file is missing or cannot be read as a picture.
    bool loadPicture(const std::string& path);
    bool hasPicture() const { return hasPicture_; }
    // Drops the picture and clears the box to BackColor.
    void clearPicture();

    Canvas& canvas() { return canvas_; }
    const Canvas& canvas() const { return canvas_; }
    Surface& surface() { return surface_; }
    const Surface& surface() const { return surface_; }
    Hdc hDC() { return Hdc{&surface_}; }

    // Mouse coordinates are in the box's own scale. A release over the box of
    // a button pressed on it also clicks.
    // Press and release of the left button at the centre, then Click.
    bool userClick() override;

    // Writes the box's pixels as a PNG file.
    bool snapshot(const std::string& pngPath) const;

  protected:
    std::optional<std::string> answerProperty(PropertyQuery& q) const override;

  private:
    std::optional<int32_t> toPixels(float units) const;
    bool overBox(float x, float y) const;
    bool releaseOver(float x, float y) const override;

    Surface surface_;
    Canvas canvas_{surface_};
    bool autoSize_ = false;
    bool hasPicture_ = false;
};

}  // namespace platform
