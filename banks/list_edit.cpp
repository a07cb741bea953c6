#include "banks/list_edit.h"

#include <limits>
#include <string>
#include <utility>

#include "banks/bank_lists.h"
#include "banks/type_change.h"
#include "core/bank_context.h"
#include "core/editor_hooks.h"

namespace kavrel {

void moveUp(platform::ListView& list) {
    const std::optional<int> row = list.SelectedIndex();
    if (list.Count() < 2 || !row || *row <= 1 || *row > list.Count()) return;
    platform::ListRow& upper = list.Item(*row - 1);
    platform::ListRow& lower = list.Item(*row);
    std::swap(upper.Text, lower.Text);
    const std::string upperIndex = list.SubItem(*row - 1, 1);
    list.setSubItem(*row - 1, 1, list.SubItem(*row, 1));
    list.setSubItem(*row, 1, upperIndex);
    list.Select(*row - 1);
}

std::optional<int16_t> removeSelected(platform::ListView& list, size_t recordCount) {
    const std::optional<int> row = list.SelectedIndex();
    if (list.Count() < 2 || !row || *row < 1 || *row > list.Count()) return std::nullopt;
    list.Remove(*row);
    list.Select(*row > 1 ? *row - 1 : 1);
    return selectedRecord(list, recordCount);
}

bool warnRemovedCount(SharedState& state, const std::function<void(const char*)>& show) {
    const int32_t removed =
        int32_t{state.bankA.delCount} + int32_t{state.bankB.delCount} + int32_t{state.delCountX};
    if (removed <= kRemovedWarningAbove) return false;
    show(kTooManyRemoved);
    return true;
}

void removeEntry(BankContext& bank) {
    BankState& s = bank.state();
    const int countBefore = bank.list().Count();
    const std::optional<int16_t> index = removeSelected(bank.list(), s.eff.size());
    if (bank.list().Count() < countBefore) {
        if (index) {
            s.curEff = *index;
            bank.services().editors().entriesChanged();
            // The type handling restarts the entry with its own type, once,
            // whatever the type box showed before.
            bank.showType(s.eff[static_cast<size_t>(*index)].type);
            changeType(bank);
        }
        s.effCount = static_cast<int16_t>(s.effCount > 0 ? s.effCount - 1 : 0);
        if (s.delCount < std::numeric_limits<int16_t>::max()) ++s.delCount;
    }
    warnRemovedCount(bank.shared(), [&bank](const char* text) { bank.showMessage(text); });
}

}  // namespace kavrel
