#pragma once
// The preview panes of the main window: one filled square per light, painted
// only where the frame differs from what the pane last showed.
#include "core/frame.h"
#include "platform/controls/picture_box.h"

namespace kavrel {

class BankContext;

// The side of one light in pixels for a cols x rows grid: the pane's shorter
// side shared by the longer side of the grid, at least 1.
int paneCellSize(const platform::PictureBox& pane, int cols, int rows);

// Clears the pane black and records it so in the shadow.
void clearPane(platform::PictureBox& pane, Frame& shadow);

// While `dirty` is set: paints every light whose colour differs from the
// shadow, records it there and clears `dirty`.
void redrawPane(platform::PictureBox& pane, const Frame& frame, Frame& shadow, bool& dirty,
                int cols, int rows);

// redrawPane for a bank's own pane, frame, shadow and changed flag.
void redrawBankPane(BankContext& bank);

}  // namespace kavrel
