#include "main_window/fade_list.h"
#include "core/defaults.h"

#include <limits>
#include <string>

#include "banks/bank_lists.h"
#include "banks/list_edit.h"
#include "core/kavrel.h"
#include "core/mixer.h"
#include "main_window/matrix_form.h"
#include "platform/controls/control_updates.h"
#include "platform/runtime/convert.h"

namespace kavrel {

void addFade(MatrixForm& form) {
    SharedState& s = form.kavrel().state();
    const int32_t live = int32_t{s.fadeCount} + 1;
    const int32_t records = live + int32_t{s.delCountX};  // the new record is records - 1
    if (s.fadeCount < 0 || live > kMaxListEntries ||
        records - 1 > std::numeric_limits<int16_t>::max() || records < 1) {
        form.kavrel().showMessage(kTooManyEntries);
        return;
    }
    const size_t index = static_cast<size_t>(records - 1);
    s.fadeList.resize(index + 2);  // indexes 0 to records, the last one spare
    s.fadeList[index] = FadeRecord{static_cast<int16_t>(FadeType::CrossFade), kNewFadeName,
                                   kDefaultFadeSeconds, kNewFadeColor};
    s.fadeCount = static_cast<int16_t>(live);
    const int row = form.efxXList.AddItem(s.fadeList[index].name);
    form.efxXList.setSubItem(row, 1, std::to_string(index));
}

void selectFade(MatrixForm& form) {
    SharedState& s = form.kavrel().state();
    const std::optional<int16_t> index = selectedRecord(form.efxXList, s.fadeList.size());
    if (!index) return;
    form.cancelTimedFade();
    s.curFade = *index;
    const FadeRecord fade = s.fadeList[static_cast<size_t>(*index)];
    // Each control runs its own handling, which stores the value as the
    // current fade's and shows or greys the fade colour.
    chooseItem(form.fadeType, fade.type, [&form] { form.fadeType_Click(); });
    showText(form.fadeTimeText, platform::formatStandard(fade.time, form.desktop().locale()),
             [&form] { form.fadeTimeText_Change(); });
    showText(form.fadeName, fade.name, [&form] { form.fadeName_Change(); });
    form.kavrel().mixMatrix(s.mixPos);
}

void removeFade(MatrixForm& form) {
    SharedState& s = form.kavrel().state();
    const int countBefore = form.efxXList.Count();
    const std::optional<int16_t> index = removeSelected(form.efxXList, s.fadeList.size());
    if (form.efxXList.Count() < countBefore) {
        if (index) {
            s.curFade = *index;
            const FadeRecord fade = s.fadeList[static_cast<size_t>(*index)];
            chooseItem(form.fadeType, fade.type, [&form] { form.fadeType_Click(); });
            showText(form.fadeTimeText, platform::numberText(fade.time, form.desktop().locale()),
                     [&form] { form.fadeTimeText_Change(); });
            showText(form.fadeName, fade.name, [&form] { form.fadeName_Change(); });
            // Last, so the button shows the fade's own colour for every type.
            form.MFadeColor.setBackColor(fade.color);
        }
        s.fadeCount = static_cast<int16_t>(s.fadeCount > 0 ? s.fadeCount - 1 : 0);
        if (s.delCountX < std::numeric_limits<int16_t>::max()) ++s.delCountX;
    }
    warnRemovedCount(s, [&form](const char* text) { form.kavrel().showMessage(text); });
}

}  // namespace kavrel
