#include "banks/bank_lists.h"

#include <limits>
#include <string>
#include <utility>

#include "banks/copy_buffer.h"
#include "core/bank_view.h"
#include "core/kavrel.h"
#include "core/still_effects.h"
#include "platform/convert.h"

namespace kavrel {

namespace {

// The largest record index that 16-bit indexes can name.
constexpr int32_t kMaxRecordIndex = std::numeric_limits<int16_t>::max();

EffectRecord newEntry(bool bankB, int cols, int rows) {
    EffectRecord e;
    e.type = static_cast<int16_t>(EffectType::Color);
    e.name = "new effect";
    e.color1 = bankB ? platform::rgb(0, 0, 255) : platform::rgb(255, 0, 0);
    e.pixels.assign(cols, rows, 0u);
    return e;
}

}  // namespace

std::optional<int16_t> selectedRecord(platform::ListView& list, size_t recordCount) {
    const std::optional<int> row = list.SelectedIndex();
    if (!row || *row < 1 || *row > list.Count()) return std::nullopt;
    const std::optional<int16_t> index = platform::textToInt16(list.SubItem(*row, 1));
    if (!index || *index < 0 || static_cast<size_t>(*index) >= recordCount) return std::nullopt;
    return index;
}

void selectEntry(Bank& bank) {
    BankState& s = bank.state;
    const std::optional<int16_t> index = selectedRecord(bank.list, s.eff.size());
    if (!index) return;
    s.curEff = *index;
    bank.stopTimers();
    const int16_t type = s.eff[static_cast<size_t>(*index)].type;
    bank.showType(type);
    const EffectKind* kind = bank.kavrel.effects().find(type);
    if (kind != nullptr && kind->start) kind->start(bank);
}

void addEntry(Bank& bank) {
    BankState& s = bank.state;
    const int32_t live = int32_t{s.effCount} + 1;
    const int32_t records = live + int32_t{s.delCount};  // the new record is records - 1
    if (s.effCount < 0 || live > kMaxListEntries || records - 1 > kMaxRecordIndex || records < 1) {
        bank.kavrel.showMessage(kTooManyEntries);
        return;
    }
    const SharedState& shared = bank.kavrel.state;
    const size_t index = static_cast<size_t>(records - 1);
    s.eff.resize(index + 2);  // indexes 0 to records, the last one spare
    s.effOk.resize(index + 2, false);
    s.eff[index] = newEntry(bank.isB, shared.gridCols(), shared.gridRows());
    s.effOk[index] = false;
    s.effCount = static_cast<int16_t>(live);
    const int row = bank.list.AddItem(s.eff[index].name);
    bank.list.setSubItem(row, 1, std::to_string(index));
}

void clearEntry(Bank& bank) {
    BankState& s = bank.state;
    EffectRecord* entry = s.currentEffect();
    if (entry == nullptr) return;
    bank.stopTimers();
    entry->type = static_cast<int16_t>(EffectType::Color);
    entry->color1 = platform::rgb(0, 0, 0);
    const size_t index = static_cast<size_t>(s.curEff);
    if (s.effOk.size() <= index) s.effOk.resize(index + 1, false);
    s.effOk[index] = true;
    bank.showType(entry->type);
    fillColor(bank);
}

void copyEntry(Bank& bank) {
    const EffectRecord* entry = bank.state.currentEffect();
    if (entry == nullptr) return;
    SharedState& shared = bank.kavrel.state;
    shared.copyBuffer = copyForPaste(*entry, shared.gridCols(), shared.gridRows());
}

void editEntry(Bank& bank) {
    Kavrel& k = bank.kavrel;
    k.editors().confirmVisible();
    EffectRecord* entry = bank.state.currentEffect();
    if (entry == nullptr) return;
    const int type = bank.typeBox.ListIndex();
    const EffectKind* kind = k.effects().find(type);
    if (kind == nullptr) {
        k.showMessage("Wert nicht erlaubt");
        return;
    }
    k.state.editBankB = bank.isB ? 1 : 0;
    entry->type = static_cast<int16_t>(type);
    if (kind->edit) kind->edit(bank);
}

void moveDown(platform::ListView& list) {
    const std::optional<int> row = list.SelectedIndex();
    if (list.Count() < 2 || !row || *row < 1 || *row >= list.Count()) return;
    platform::ListRow& upper = list.Item(*row);
    platform::ListRow& lower = list.Item(*row + 1);
    std::swap(upper.Text, lower.Text);
    const std::string upperIndex = list.SubItem(*row, 1);
    list.setSubItem(*row, 1, list.SubItem(*row + 1, 1));
    list.setSubItem(*row + 1, 1, upperIndex);
    list.Select(*row + 1);
}

}  // namespace kavrel
