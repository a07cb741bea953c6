#pragma once
// The entry an editor window works on: the bank and record index that an
// edit button filled it from. The editor reaches the entry only while it is
// still its bank's current entry and still of the editor's type; after a list
// click, a removal, a paste, a type change, a project load or a clear it
// reaches nothing, so nothing of the editor goes into another entry.
#include <cstdint>
#include <optional>
#include <string>

#include "core/bank_id.h"
#include "core/effect_record.h"

namespace platform {
class Window;
}

namespace kavrel {

class BankContext;
class EffectServices;

class EditedEntry {
  public:
    EditedEntry(EffectServices& services, EffectType type) : services_(services), type_(type) {}

    // Binds the editor to the bank's current entry.
    void bind(BankContext& bank);
    // The bound bank while the bound record is still its current entry and of
    // the editor's type; null otherwise (also before the first bind).
    BankContext* bank();
    EffectRecord* entry();
    BankId bankId() const { return bank_; }
    int16_t record() const { return record_; }

    // OK: the configured flag, the entry's name and the text of the bank
    // list's item that holds the record index. False when the entry is gone.
    bool confirm(const std::string& name, bool configured);

    EffectServices& services() { return services_; }

    // The colour mixer for the editor's colour buttons and list rows (see
    // editor_window.h); while it is shown, a lost entry hides it too.
    uint32_t pickEdited(uint32_t edited);
    std::optional<uint32_t> pickRow(uint32_t start);
    // Hides the editor (and the mixer it opened) once its entry is gone;
    // true when it is gone.
    bool dropIfGone(platform::Window& editor);

  private:
    EffectServices& services_;
    EffectType type_;
    BankId bank_ = BankId::A;
    int16_t record_ = -1;
    bool picking_ = false;
};

}  // namespace kavrel
