#include "banks/paste.h"

#include "banks/bank_lists.h"
#include "core/bank_context.h"
#include "core/editor_hooks.h"
#include "core/effect.h"

namespace kavrel {

void pasteEntry(BankContext& bank) {
    bank.secondTimer().setEnabled(false);
    bank.stepTimer().setEnabled(false);
    BankState& s = bank.state();
    EffectRecord* entry = bank.entry();
    if (entry == nullptr) return;
    const EffectRecord& buffer = bank.shared().copyBuffer;
    entry->name = buffer.name;
    entry->type = buffer.type;
    platform::ListView& list = bank.list();
    for (int row = 1; row <= list.Count(); ++row)
        if (list.SubItem(row, 1) == std::to_string(s.curEff)) list.Item(row).Text = entry->name;
    if (const Effect* effect = bank.services().effects().find(buffer.type))
        effect->copyForPaste(buffer, *entry, bank.cols(), bank.rows());
    const size_t index = static_cast<size_t>(s.curEff);
    if (s.effOk.size() <= index) s.effOk.resize(index + 1, false);
    s.effOk[index] = true;
    // Editors on the entry before the paste let go of it.
    bank.services().editors().entriesChanged();
    bank.showType(entry->type);
    selectEntry(bank);
}

}  // namespace kavrel
