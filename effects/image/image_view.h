#pragma once
// Showing an Image entry's picture on its bank: the draw (no pictures,
// stretched, tiled or the view at the scroll position) into the bank's
// sampling box, the start and the steps of scrolling, and the sampling of the
// box into the bank frame. Each works on the bank it is given.
namespace kavrel {

class BankContext;

inline constexpr const char* kNoPictures = "No Pictures in List. Please edit preset";

// Draws the bank's picture by its running entry, switches the step timer for
// a scrolling or stretched entry, then samples.
void drawImage(BankContext& bank);
// Copies the sampling box into the bank frame, marks it and mixes.
void sampleMini(BankContext& bank);
// Places the view for the entry's direction and offset and sets the travel
// extent of diagonal runs. Draws nothing.
void startImageScroll(BankContext& bank);
// Moves the view one step, draws it and samples. A stretched entry is drawn
// stretched without moving; an entry without pictures draws black.
void scrollImage(BankContext& bank);
// The bank black, sampled and mixed (a list that cannot go on).
void drawBlack(BankContext& bank);

}  // namespace kavrel
