#include "core/msg_form.h"

namespace kavrel {

MsgForm::MsgForm(platform::Desktop& desktop) : Window(desktop, "MsgForm") {
    setCaption("Kavrel");
    setScaleMode(platform::ScaleMode::Pixels);
    setWidth(4800);
    setHeight(1800);
    msgText.move(8, 8, 296, 48);
    OK.move(116, 64, 80, 24);
    OK.setCaption("OK");
    OK.onClick = [this] { OK_Click(); };
}

}  // namespace kavrel
