#pragma once
// The bank lists A and B: selecting an entry starts it, and the buttons add,
// clear, copy, move down and edit entries. List items show the entry's name;
// their first sub-item (a hidden column) holds the record index, and records
// never move.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/controls/list_view.h"

namespace kavrel {

class BankContext;

inline constexpr int kMaxListEntries = 256;
inline constexpr const char* kNewEntryName = "new effect";
inline constexpr const char* kTooManyEntries = "more then 256 effects are not allowed !";

// The record index in the selected item's first sub-item, when an item is
// selected and the index names one of `recordCount` records.
std::optional<int16_t> selectedRecord(platform::ListView& list, size_t recordCount);

// Makes the selected entry the bank's running one and starts it by its type.
void selectEntry(BankContext& bank);
// Appends a new entry ("new effect": red in bank A, blue in bank B, not
// configured) while the bank holds fewer than 256.
void addEntry(BankContext& bank);
// Turns the running entry into a black Color entry, configured, and shows it.
void clearEntry(BankContext& bank);
// Copies the running entry into the copy buffer, as far as pasting takes it.
void copyEntry(BankContext& bank);
// Opens the editor of the type chosen in the bank's type box on the running entry.
void editEntry(BankContext& bank);
// Moves the selected item one place down: the two items exchange their texts
// and record indexes, and the moved one stays selected.
void moveDown(platform::ListView& list);

}  // namespace kavrel
