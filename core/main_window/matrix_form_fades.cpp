// The crossfader, the timed fades and the fade controls of the main window.
#include <algorithm>
#include <cmath>

#include "core/defaults.h"
#include "core/kavrel.h"
#include "core/main_window/matrix_form.h"
#include "core/mixer.h"
#include "platform/convert.h"

namespace kavrel {

namespace {

constexpr const char* kFadeTimeNotNumeric = "Fade time must be numeric";
constexpr const char* kFadeTimeOutOfRange = "Fade time must be between 0.1 and 800 seconds";
constexpr double kMinFadeSeconds = 0.1;
constexpr double kMaxFadeSeconds = 800.0;
// A timed fade takes at most this many steps, none shorter than the shortest interval.
constexpr int64_t kMaxFadeSteps = 100;
constexpr int64_t kMinFadeIntervalMs = 10;

}  // namespace

FadeRecord* MatrixForm::currentFade() {
    SharedState& s = kavrel_.state();
    if (s.curFade < 0 || static_cast<size_t>(s.curFade) >= s.fadeList.size()) return nullptr;
    return &s.fadeList[static_cast<size_t>(s.curFade)];
}

void MatrixForm::showFaderPosition() {
    // The slider shows mixPos x 200 - 100; its handling must not turn the
    // rounded value back into mixPos.
    const double shown = platform::roundHalfEven(kavrel_.state().mixPos * 200.0 - 100.0);
    const int32_t value =
        std::isfinite(shown) ? static_cast<int32_t>(std::clamp(shown, -100.0, 100.0)) : 0;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{faderFromCode_};
    faderFromCode_ = true;
    faderM.setValue(value);
}

void MatrixForm::faderM_Change() {
    if (faderFromCode_) return;
    cancelTimedFade();
    SharedState& s = kavrel_.state();
    s.mixPos = (static_cast<double>(faderM.Value()) + 100.0) / 200.0;
    kavrel_.mixMatrix(s.mixPos);
}

void MatrixForm::fadeLeft_Click() {
    startTimedFade(0.0);
}
void MatrixForm::fadeRight_Click() {
    startTimedFade(1.0);
}

void MatrixForm::startTimedFade(double target) {
    double seconds = kavrel_.state().fadeTime;
    if (!std::isfinite(seconds)) seconds = kDefaultFadeSeconds;
    seconds = std::clamp(seconds, kMinFadeSeconds, kMaxFadeSeconds);
    const int64_t totalMs = static_cast<int64_t>(platform::roundHalfEven(seconds * 1000.0));
    const int64_t steps = std::clamp<int64_t>(totalMs / kMinFadeIntervalMs, 1, kMaxFadeSteps);
    const double interval =
        platform::roundHalfEven(static_cast<double>(totalMs) / static_cast<double>(steps));

    fadeTarget_ = target;
    fadeStepsLeft_ = static_cast<int32_t>(steps);
    timerM.setEnabled(false);  // a new fade starts its own period
    timerM.setInterval(static_cast<int32_t>(interval));
    timerM.setEnabled(true);
}

void MatrixForm::timerM_Timer() {
    SharedState& s = kavrel_.state();
    if (fadeStepsLeft_ <= 0) {
        timerM.setEnabled(false);
        return;
    }
    // Each step covers an equal share of what is left, the last lands exactly.
    s.mixPos += (fadeTarget_ - s.mixPos) / static_cast<double>(fadeStepsLeft_);
    --fadeStepsLeft_;
    if (fadeStepsLeft_ == 0) s.mixPos = fadeTarget_;
    showFaderPosition();
    kavrel_.mixMatrix(s.mixPos);
    if (fadeStepsLeft_ == 0) timerM.setEnabled(false);
}

void MatrixForm::fadeType_Click() {
    cancelTimedFade();
    const int index = fadeType.ListIndex();
    if (index < 0 || index >= kFadeTypeCount) return;
    SharedState& s = kavrel_.state();
    s.fadeType = static_cast<int16_t>(index);
    FadeRecord* fade = currentFade();
    if (fade != nullptr) fade->type = s.fadeType;

    const bool colorFade = index == static_cast<int>(FadeType::ColorFade);
    FadeColorText.setEnabled(colorFade);
    MFadeColor.setEnabled(colorFade);
    MFadeColor.setBackColor(colorFade && fade != nullptr ? fade->color : s.colorBlack);
    resetMixMap(s, s.mixPos);
}

void MatrixForm::fadeTimeText_Change() {
    SharedState& s = kavrel_.state();
    const std::optional<double> value = platform::parseNumber(fadeTimeText.Text());
    const char* problem = nullptr;
    if (!value) {
        problem = kFadeTimeNotNumeric;
    } else if (*value < kMinFadeSeconds || *value > kMaxFadeSeconds) {
        problem = kFadeTimeOutOfRange;
    }
    const double seconds = problem ? kDefaultFadeSeconds : *value;
    if (problem) kavrel_.showMessage(problem);
    s.fadeTime = seconds;
    if (FadeRecord* fade = currentFade()) fade->time = seconds;
    // Rewriting the box runs this handling once more on the tidy text.
    fadeTimeText.setText(platform::formatStandard(seconds, desktop().locale()));
}

void MatrixForm::fadeName_Change() {
    if (FadeRecord* fade = currentFade()) fade->name = fadeName.Text();
    if (platform::ListRow* row = efxXList.SelectedItem()) row->Text = fadeName.Text();
}

}  // namespace kavrel
