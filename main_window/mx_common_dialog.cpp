#include "main_window/mx_common_dialog.h"

namespace kavrel {

namespace {
constexpr float kWidthTwips = 3000.0f;
constexpr float kHeightTwips = 2000.0f;
}  // namespace

MxCommonDialog::MxCommonDialog(platform::Desktop& desktop) : Window(desktop, "mxCommonDialog") {
    setCaption("mxCommonDialog");
    setWidth(kWidthTwips);
    setHeight(kHeightTwips);
}

void MxCommonDialog::centreOver(const platform::Window& over) {
    setLeft(over.Left() + over.Width() / 2.0f - Width() / 2.0f);
    setTop(over.Top() + over.Height() / 2.0f - Height() / 2.0f);
}

}  // namespace kavrel
