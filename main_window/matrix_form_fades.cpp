// The crossfader, the timed fades and the fade controls of the main window.
#include <algorithm>
#include <cmath>

#include "core/color_mixer.h"
#include "core/defaults.h"
#include "core/kavrel.h"
#include "core/mixer.h"
#include "main_window/matrix_form.h"
#include "platform/runtime/convert.h"

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

    fadeFrom_ = kavrel_.state().mixPos;
    fadeTarget_ = target;
    fadeSteps_ = static_cast<int32_t>(steps);
    fadeStep_ = 0;
    fadeTotalMs_ = totalMs;
    timerM.setEnabled(false);  // a new fade starts its own period
    timerM.setInterval(fadeStepInterval(1));
    timerM.setEnabled(true);
}

// Step k ends at k/n of the fade's time, rounded to the millisecond, so that
// the last one ends exactly on time whatever the step count.
int32_t MatrixForm::fadeStepInterval(int32_t k) const {
    const auto at = [this](int64_t step) {
        return fadeSteps_ > 0 ? step * fadeTotalMs_ / fadeSteps_ : fadeTotalMs_;
    };
    return static_cast<int32_t>(at(k) - at(k - 1));
}

void MatrixForm::timerM_Timer() {
    SharedState& s = kavrel_.state();
    timerM.setEnabled(false);
    if (fadeStep_ >= fadeSteps_) return;
    ++fadeStep_;
    // The position comes from the steps taken, never from summed increments:
    // it passes exactly through k/n and ends exactly on the target.
    const double k = static_cast<double>(fadeStep_);
    const double n = static_cast<double>(fadeSteps_);
    s.mixPos = fadeStep_ == fadeSteps_ ? fadeTarget_ : (fadeFrom_ * (n - k) + fadeTarget_ * k) / n;
    showFaderPosition();
    kavrel_.mixMatrix(s.mixPos);
    if (fadeStep_ < fadeSteps_) {
        timerM.setInterval(fadeStepInterval(fadeStep_ + 1));
        timerM.setEnabled(true);
    }
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

void MatrixForm::MFadeColor_Click() {
    // The colour goes to the fade that was current when the mixer opened.
    const int16_t fadeIndex = kavrel_.state().curFade;
    const uint32_t color = pickColor(kavrel_, MFadeColor.BackColor());
    MFadeColor.setBackColor(color);
    SharedState& s = kavrel_.state();
    if (fadeIndex >= 0 && static_cast<size_t>(fadeIndex) < s.fadeList.size())
        s.fadeList[static_cast<size_t>(fadeIndex)].color = color;
}

}  // namespace kavrel
