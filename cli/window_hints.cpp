#include "cli/window_hints.h"

#include <algorithm>

namespace kavrel {

namespace {
constexpr std::string_view kEditA = "MatrixForm.editA";
constexpr std::string_view kEditB = "MatrixForm.editB";

constexpr WindowShow kShows[] = {
    {"MxColorForm", kEditA, kEditB, "Color", {}},
    {"MxGradientForm", kEditA, kEditB, "Gradient", {}},
    {"MxPicForm", kEditA, kEditB, "Paint", {}},
    {"MxImageForm", kEditA, kEditB, "Image", {}},
    {"MxImageList", "MxImageForm.BImage", {}, {}, {}},
    {"MxColorChange", kEditA, kEditB, "Color Change", {}},
    {"MxColorScroll", kEditA, kEditB, "Color Scroll", {}},
    {"MxFire", kEditA, kEditB, "Fire", {}},
    {"MxWater", kEditA, kEditB, "Fluid", {}},
    {"MxTickerForm", kEditA, kEditB, "Ticker", {}},
    {"MxLaser", kEditA, kEditB, "BeamShow", {}},
    {"MxColorMixer",
     "MatrixForm.MFadeColor",
     {},
     {},
     "with ColorFade chosen in MatrixForm.fadeType, or a colour box of an editor"},
    {"MxDxSimConf", "MatrixForm.vovev_active", {}, {}, "while it is off"},
    {"VoVevForm", "MxDxSimConf.Command1", {}, {}, "with MxDxSimConf.DDMode(0) chosen"},
    {"MxDxSimForm", "MxDxSimConf.Command1", {}, {}, "with MxDxSimConf.DDMode(1) chosen"},
    {"MxExtSimForm", "MatrixForm.extmxsim_active", {}, {}, "while it is off"},
};
}  // namespace

std::span<const WindowShow> windowShows() {
    return kShows;
}

std::string howToShow(std::string_view window) {
    const auto show = std::find_if(std::begin(kShows), std::end(kShows),
                                   [&](const WindowShow& s) { return s.window == window; });
    if (show == std::end(kShows)) return {};
    std::string how = "click " + std::string(show->click);
    if (!show->otherClick.empty()) how += " or " + std::string(show->otherClick);
    if (!show->entryType.empty()) {
        const bool an = show->entryType.find_first_of("AEIOU") == 0;
        how += std::string(" while that bank runs ") + (an ? "an " : "a ") +
               std::string(show->entryType) + " entry";
    }
    if (!show->when.empty()) how += ' ' + std::string(show->when);
    return how;
}

}  // namespace kavrel
