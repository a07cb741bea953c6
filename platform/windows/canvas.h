#pragma once
// The drawing state and drawing methods of a picture box or form: scale,
// colours, fill style and pen width, and Cls, Point, PSet, Line and Circle on
// the pixel buffer it is given.
#include <cstdint>
#include <optional>

#include "platform/drawing/surface.h"
#include "platform/windows/window.h"

namespace platform {

enum class FillStyle { Solid = 0, Transparent = 1 };

class Canvas {
  public:
    explicit Canvas(Surface& surface) : surface_(surface) {}
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Surface& surface() const { return surface_; }

    // Scale. Twips and pixels put the origin at the top left; switching to
    // User keeps the current scale values; setUserScale (VB's Scale method)
    // maps (left, top) to the top left pixel corner and width x height to the
    // whole buffer, negative sizes flipping the axis. It refuses zero or
    // non-finite values and keeps the scale it had.
    ScaleMode scaleMode() const { return mode_; }
    void setScaleMode(ScaleMode m);
    bool setUserScale(float left, float top, float width, float height);
    float ScaleLeft() const;
    float ScaleTop() const;
    float ScaleWidth() const;
    float ScaleHeight() const;

    // Colours may name system colours; they are translated when drawn.
    Color BackColor() const { return backColor_; }
    void setBackColor(Color c) { backColor_ = c; }
    Color ForeColor() const { return foreColor_; }
    void setForeColor(Color c) { foreColor_ = c; }
    Color FillColor() const { return fillColor_; }
    void setFillColor(Color c) { fillColor_ = c; }
    FillStyle fillStyle() const { return fillStyle_; }
    void setFillStyle(FillStyle s) { fillStyle_ = s; }
    // Pen width in pixels, 1 to 32767; other values are brought into range.
    int32_t DrawWidth() const { return drawWidth_; }
    void setDrawWidth(int32_t w);

    // Fills the buffer with BackColor.
    void Cls();
    // The colour at (x, y), or -1 outside the buffer.
    int32_t Point(float x, float y) const;
    // One pen-sized dot; ForeColor when no colour is given.
    void PSet(float x, float y, std::optional<Color> color = std::nullopt);
    // A line with both end points drawn; with `box` the outline of the
    // rectangle with these corners (its inside filled with FillColor when
    // FillStyle is Solid); with `box` and `fill` the whole rectangle, both
    // corners included, in the line colour.
    void Line(float x1, float y1, float x2, float y2, std::optional<Color> color = std::nullopt,
              bool box = false, bool fill = false);
    // An ellipse around (x, y). The radius is in horizontal units; aspect is
    // the ratio of height to width: below 1 the radius is the horizontal
    // half-axis, otherwise the vertical one. Filled with FillColor when
    // FillStyle is Solid. A negative or non-finite radius or aspect draws nothing.
    void Circle(float x, float y, float radius, std::optional<Color> color = std::nullopt,
                float aspect = 1.0f);

    // Scale units -> pixel coordinates (half to even); nullopt for non-finite
    // input. Far-off coordinates are pulled in to +-2^28 pixels, well outside
    // any buffer, so that pixel arithmetic cannot overflow.
    std::optional<int64_t> pixelX(float x) const;
    std::optional<int64_t> pixelY(float y) const;

  private:
    double unitsToPixelsX(double x) const;
    double unitsToPixelsY(double y) const;
    double pixelsPerUnitX() const;
    double pixelsPerUnitY() const;
    // Pen offsets: a square pen covers [penLo, penHi] around each point.
    int64_t penLo() const { return -((drawWidth_ - 1) / 2); }
    int64_t penHi() const { return drawWidth_ / 2; }
    void fillRect(int64_t x0, int64_t y0, int64_t x1, int64_t y1, Color c);
    void stroke(int64_t x0, int64_t y0, int64_t x1, int64_t y1, Color c);

    Surface& surface_;
    ScaleMode mode_ = ScaleMode::Twips;
    float userLeft_ = 0, userTop_ = 0, userWidth_ = 1, userHeight_ = 1;
    Color backColor_ = 0x00FFFFFF;
    Color foreColor_ = 0;
    Color fillColor_ = 0;
    FillStyle fillStyle_ = FillStyle::Transparent;
    int32_t drawWidth_ = 1;
};

}  // namespace platform
