#pragma once
// Moving list items up and removing them. Records never move: moving
// exchanges two items' texts and record indexes; removing drops the item
// and keeps its record, counted as removed.
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/controls/list_view.h"

namespace kavrel {

class BankContext;
struct SharedState;

inline constexpr int kRemovedWarningAbove = 30;
inline constexpr const char* kTooManyRemoved =
    "more then 30 deleted effects in memory\nplease Save and Reload effects !";

// upA/B/X: the selected item and the one above exchange texts and record
// indexes; the moved one stays selected. Nothing else changes.
void moveUp(platform::ListView& list);

// Drops the selected item of a list of two or more and selects the one
// above it (the new first item when the first was dropped). Gives the record
// index of the newly selected item, read from its hidden column; nullopt when
// nothing was removed or that index names none of `recordCount` records.
std::optional<int16_t> removeSelected(platform::ListView& list, size_t recordCount);

// removeA/B: removes the selected entry; the newly selected one becomes the
// bank's running entry and starts through the type handling with its own
// type. Then warns when more than 30 removed records are held in all.
void removeEntry(BankContext& bank);

// The warning every remove press gives (also one that removed nothing) once
// more than 30 removed records are held in all; true when it was shown.
bool warnRemovedCount(SharedState& state, const std::function<void(const char*)>& show);

}  // namespace kavrel
