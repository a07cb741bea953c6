#pragma once
// Setting a control from code so that its handling runs exactly once, also
// when the control already shows the value (the platform raises no event
// for an unchanged value).
#include <functional>
#include <string>

#include "platform/controls/combo_box.h"
#include "platform/controls/text_box.h"

namespace platform {

inline void chooseItem(ComboBox& box, int index, const std::function<void()>& handler) {
    if (box.ListIndex() == index && index >= 0) {
        handler();
    } else {
        box.setListIndex(index);
    }
}

inline void showText(TextBox& box, const std::string& text, const std::function<void()>& handler) {
    if (box.Text() == text) {
        handler();
    } else {
        box.setText(text);
    }
}

}  // namespace platform
