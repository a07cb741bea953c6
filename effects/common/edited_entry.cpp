#include "effects/common/edited_entry.h"

#include <string>

#include "core/bank_context.h"
#include "core/color_mixer.h"
#include "core/effect_services.h"
#include "effects/common/editor_window.h"

namespace kavrel {

void EditedEntry::bind(BankContext& bank) {
    bank_ = bank.id();
    record_ = bank.state().curEff;
}

BankContext* EditedEntry::bank() {
    if (record_ < 0) return nullptr;
    BankContext* ctx = services_.bank(bank_);
    if (ctx == nullptr || ctx->state().curEff != record_) return nullptr;
    const EffectRecord* e = ctx->entry();
    if (e == nullptr || e->type != static_cast<int16_t>(type_)) return nullptr;
    return ctx;
}

EffectRecord* EditedEntry::entry() {
    BankContext* ctx = bank();
    return ctx != nullptr ? ctx->entry() : nullptr;
}

bool EditedEntry::confirm(const std::string& name, bool configured) {
    BankContext* ctx = bank();
    if (ctx == nullptr) return false;
    BankState& s = ctx->state();
    const size_t index = static_cast<size_t>(record_);
    if (s.effOk.size() <= index) s.effOk.resize(index + 1, false);
    s.effOk[index] = configured;
    ctx->entry()->name = name;
    // The list item that holds this record, wherever the user moved it.
    platform::ListView& list = ctx->list();
    const std::string key = std::to_string(record_);
    for (int row = 1; row <= list.Count(); ++row) {
        if (list.SubItem(row, 1) == key) {
            list.Item(row).Text = name;
            break;
        }
    }
    return true;
}

uint32_t EditedEntry::pickEdited(uint32_t edited) {
    picking_ = true;
    const uint32_t c = pickEditedColor(services_, edited);
    picking_ = false;
    return c;
}

std::optional<uint32_t> EditedEntry::pickRow(uint32_t start) {
    picking_ = true;
    const std::optional<uint32_t> c = pickRowColor(services_, start);
    picking_ = false;
    return c;
}

bool EditedEntry::dropIfGone(platform::Window& editor) {
    if (entry() != nullptr) return false;
    if (picking_) {
        MxColorMixer& mixer = services_.colorMixer();
        if (mixer.Visible()) mixer.Hide();
    }
    if (editor.Visible()) editor.Hide();
    return true;
}

}  // namespace kavrel
