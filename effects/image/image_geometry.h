#pragma once
// The arithmetic of image scrolling: the step interval of a speed, the start
// view and travel extent of a direction, one step's move and restart, and the
// list timer's interval of a picture. Pure functions on whole numbers.
#include <cstdint>

namespace kavrel {

// Sizes: W x H the picture, w x h the sampling box; level is the offset in
// percent, direction 0 still, 1 to 8 the scroll directions.
struct ScrollGeometry {
    int32_t W = 0, H = 0, w = 0, h = 0;
    int32_t level = 0;
    int32_t direction = 0;
};

struct ViewPos {
    int32_t x = 0, y = 0;
};

// 0.8 x (speed - 100)^2 + 10 ms, rounded half to even.
int32_t imageStepInterval(int32_t speed);
// The diagonal travel extent: W when (H - h) > (W - w), otherwise H.
int32_t travelExtent(const ScrollGeometry& g);
// The start view of the direction; false (position kept) for a direction
// outside 0..8.
bool startView(const ScrollGeometry& g, ViewPos& pos);
// Moves the view one step by the direction and restarts it where the run
// ends; directions outside 1..8 do not move it.
void stepView(const ScrollGeometry& g, int32_t stripLen, ViewPos& pos);
// A view coordinate as the 16-bit variables hold it (cut to their range).
int16_t toPos16(int64_t v);
// How long a picture of `seconds` stays in the list, in ms: whole seconds of
// the 16-bit range; none or negative plays one second.
int32_t listInterval(double seconds);
// The same with the fractions of a second kept (rounded to whole ms); below
// one second plays one second.
int32_t listIntervalExact(double seconds);

}  // namespace kavrel
