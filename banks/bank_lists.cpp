#include "banks/bank_lists.h"

#include <limits>
#include <string>
#include <utility>

#include "banks/copy_buffer.h"
#include "banks/type_change.h"
#include "core/bank_context.h"
#include "core/defaults.h"
#include "core/editor_hooks.h"
#include "core/light_painter.h"
#include "platform/runtime/convert.h"

namespace kavrel {

namespace {

// The largest record index that 16-bit indexes can name.
constexpr int32_t kMaxRecordIndex = std::numeric_limits<int16_t>::max();

EffectRecord newEntry(bool bankB, int cols, int rows) {
    EffectRecord e;
    e.type = static_cast<int16_t>(EffectType::Color);
    e.name = kNewEntryName;
    e.color1 = bankB ? kBankBColor : kBankAColor;
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

void selectEntry(BankContext& bank) {
    BankState& s = bank.state();
    const std::optional<int16_t> index = selectedRecord(bank.list(), s.eff.size());
    if (!index) return;
    s.curEff = *index;
    prepareBankStart(bank);
    bank.services().editors().entriesChanged();
    const int16_t type = s.eff[static_cast<size_t>(*index)].type;
    // The type box only shows the type: the entry starts once, here.
    bank.showType(type);
    if (type < 0 || type >= kEffectTypeCount) {
        bank.showMessage(kValueNotAllowed);
        return;
    }
    if (Effect* effect = bank.services().effects().find(type)) effect->start(bank);
}

void addEntry(BankContext& bank) {
    BankState& s = bank.state();
    const int32_t live = int32_t{s.effCount} + 1;
    const int32_t records = live + int32_t{s.delCount};  // the new record is records - 1
    if (s.effCount < 0 || live > kMaxListEntries || records - 1 > kMaxRecordIndex || records < 1) {
        bank.showMessage(kTooManyEntries);
        return;
    }
    const size_t index = static_cast<size_t>(records - 1);
    s.eff.resize(index + 2);  // indexes 0 to records, the last one spare
    s.effOk.resize(index + 2, false);
    s.eff[index] = newEntry(bank.isB(), bank.cols(), bank.rows());
    s.effOk[index] = false;
    s.effCount = static_cast<int16_t>(live);
    const int row = bank.list().AddItem(s.eff[index].name);
    bank.list().setSubItem(row, 1, std::to_string(index));
}

void clearEntry(BankContext& bank) {
    BankState& s = bank.state();
    EffectRecord* entry = s.currentEffect();
    if (entry == nullptr) return;
    bank.stopTimers();
    entry->type = static_cast<int16_t>(EffectType::Color);
    entry->color1 = platform::rgb(0, 0, 0);
    bank.services().editors().entriesChanged();
    const size_t index = static_cast<size_t>(s.curEff);
    if (s.effOk.size() <= index) s.effOk.resize(index + 1, false);
    s.effOk[index] = true;
    bank.showType(entry->type);
    fillLights(s.frame, bank.cols(), bank.rows(), entry->color1);
    bank.showFrame();
}

void copyEntry(BankContext& bank) {
    const EffectRecord* entry = bank.entry();
    if (entry == nullptr) return;
    bank.shared().copyBuffer =
        copyForPaste(bank.services().effects(), *entry, bank.cols(), bank.rows());
}

void editEntry(BankContext& bank) {
    bank.services().editors().confirmVisible();
    EffectRecord* entry = bank.entry();
    if (entry == nullptr) return;
    const int type = bank.typeBox().ListIndex();
    Effect* effect = bank.services().effects().find(type);
    if (type < 0 || type >= kEffectTypeCount) {
        bank.showMessage(kValueNotAllowed);
        return;
    }
    bank.shared().editBankB = bank.isB() ? 1 : 0;
    entry->type = static_cast<int16_t>(type);
    if (effect != nullptr) effect->edit(bank);
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
