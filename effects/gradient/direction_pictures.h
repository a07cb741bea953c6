#pragma once
// The 16 x 16 pictures of the gradient direction buttons: the symbol in black
// on grey (normal and disabled) and on light yellow (down).
#include "platform/controls/button.h"

namespace kavrel {

inline constexpr int kDirectionButtons = 11;

struct DirectionPictures {
    platform::PicturePtr normal;
    platform::PicturePtr disabled;  // the same look as normal
    platform::PicturePtr down;      // null for the centre button
};

// Button 0 a square, 1..8 an arrow (up, up-left, left, down-left, down,
// down-right, right, up-right), 9 four arrows outwards, 10 four inwards.
DirectionPictures directionPictures(int index);

}  // namespace kavrel
