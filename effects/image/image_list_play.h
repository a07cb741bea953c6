#pragma once
// Playing an Image entry's picture list on its bank: loading a picture of the
// list into the bank's picture box, starting the entry when its bank list
// selects it, the list timer's next picture and a beat.
#include <cstdint>
#include <string>

namespace kavrel {

class BankContext;
struct EffectRecord;

inline constexpr const char* kFileNotFound = "File not found: ";

// The path of picture `index` of the entry, "" where the list holds none.
std::string picturePath(const EffectRecord& entry, int64_t index);
// The duration of picture `index` in seconds, 0 where the list holds none.
double pictureDuration(const EffectRecord& entry, int64_t index);
// Loads the picture file into the bank's picture box; false, with the box
// unchanged, when it is missing or no picture that can be read.
bool loadBankPicture(BankContext& bank, const std::string& path);
// As above; a failure shows "File not found: " and the path.
bool loadBankPictureOrSay(BankContext& bank, const std::string& path);

// The bank list chose an Image entry (both bank timers stopped).
void startImageEntry(BankContext& bank);
// A tick of the bank's list timer (already stopped): the next picture.
void nextListPicture(BankContext& bank);
// A beat: runs the list timer (two or more pictures) and scrolls one step.
void beatImage(BankContext& bank);

}  // namespace kavrel
