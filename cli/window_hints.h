#pragma once
// How the windows a user opens with a click come to be shown, for the note
// of an action on one that is not.
#include <string>
#include <string_view>

namespace kavrel {

struct WindowShow {
    std::string_view window;
    std::string_view click;       // the target whose click shows it
    std::string_view otherClick;  // another target that shows it too, or empty
    std::string_view entryType;   // an editor's: the type of entry its bank must run
    std::string_view when;        // what else the click needs, or empty
};

inline constexpr std::string_view kEditA = "MatrixForm.editA";
inline constexpr std::string_view kEditB = "MatrixForm.editB";

// Every window a click shows, with the click.
inline constexpr WindowShow kWindowShows[] = {
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

// "click MatrixForm.editA or MatrixForm.editB while that bank runs a Ticker
// entry" for a window a click shows; "" for any other.
std::string howToShow(std::string_view window);

}  // namespace kavrel
