#include "main_window/matrix_form.h"
#include "core/defaults.h"

#include "banks/bank_lists.h"
#include "core/effect.h"
#include "core/kavrel.h"
#include "core/light_painter.h"
#include "core/mixer.h"
#include "main_window/fade_list.h"
#include "platform/controls/control_updates.h"
#include "platform/runtime/convert.h"

namespace kavrel {

namespace {

// Client area in pixels; the window adds its frame and caption.
constexpr float kClientWidthPx = 820.0f;
constexpr float kClientHeightPx = 568.0f;
constexpr float kFrameWidthPx = 8.0f;
constexpr float kFrameHeightPx = 30.0f;
constexpr float kPaneSidePx = 180.0f;

constexpr int32_t kDmxIntervalMs = 25;
constexpr int32_t kSimulatorIntervalMs = 30;
constexpr int32_t kPaneIntervalMs = 50;

}  // namespace

MatrixForm::MatrixForm(platform::Desktop& desktop, Kavrel& kavrel,
                       platform::FormSlot<MxCommonDialog>& commonDialog)
    : Window(desktop, "MatrixForm"),
      kavrel_(kavrel),
      commonDialog_(commonDialog),
      bankA_(BankId::A, kavrel,
             BankControls{efxAList, typeA, timerA1, timerA2, miniA, imageA, paneA}),
      bankB_(BankId::B, kavrel,
             BankControls{efxBList, typeB, timerB1, timerB2, miniB, imageB, paneB}),
      previews_(kavrel, PreviewHost{*this,
                                    vovev_active,
                                    extmxsim_active,
                                    updateVoVevTimer,
                                    {&timerA1, &timerA2, &timerB1, &timerB2},
                                    Winsock1}) {
    layoutControls();
    wireHandlers();
}

MatrixForm::~MatrixForm() = default;

void MatrixForm::layoutControls() {
    setCaption("Kavrel");
    setScaleMode(platform::ScaleMode::Pixels);
    setWidth((kClientWidthPx + kFrameWidthPx) * platform::kTwipsPerPixel);
    setHeight((kClientHeightPx + kFrameHeightPx) * platform::kTwipsPerPixel);

    const auto bankColumn = [](float x, platform::ListView& list, platform::ComboBox& type,
                               platform::Button& add, platform::Button& clear,
                               platform::Button& copy, platform::Button& down,
                               platform::Button& edit) {
        list.move(x, 8, 220, 200);
        type.move(x, 214, 220, 21);
        add.move(x, 240, 52, 24);
        clear.move(x + 56, 240, 52, 24);
        copy.move(x + 112, 240, 52, 24);
        down.move(x + 168, 240, 52, 24);
        edit.move(x, 268, 220, 24);
        add.setCaption("Add");
        clear.setCaption("Clear");
        copy.setCaption("Copy");
        down.setCaption("Down");
        edit.setCaption("Edit");
    };
    bankColumn(8, efxAList, typeA, addA, clearA, copyMemA, downA, editA);
    bankColumn(236, efxBList, typeB, addB, clearB, copyMemB, downB, editB);
    const auto bankExtras = [](float x, platform::Button& up, platform::Button& remove,
                               platform::Button& paste) {
        up.move(x, 296, 72, 24);
        remove.move(x + 74, 296, 72, 24);
        paste.move(x + 148, 296, 72, 24);
        up.setCaption("Up");
        remove.setCaption("Remove");
        paste.setCaption("Paste");
        paste.setToolTipText("Paste effect from clipboard on selected memory");
    };
    bankExtras(8, upA, removeA, pasteMemA);
    bankExtras(236, upB, removeB, pasteMemB);
    mxsave.move(8, 324, 108, 24);
    mxsave.setCaption("Save");
    myload.move(120, 324, 108, 24);
    myload.setCaption("Load");

    efxXList.move(464, 8, 220, 200);
    fadeType.move(464, 214, 220, 21);
    fadeTimeText.move(464, 240, 100, 21);
    fadeName.move(568, 240, 116, 21);
    MFadeColor.move(464, 266, 40, 21);
    FadeColorText.move(508, 268, 176, 18);
    FadeColorText.setCaption("Color : ");
    MFadeColor.setToolTipText("edits color for color fade");
    addX.move(464, 294, 53, 24);
    addX.setCaption("Add");
    downX.move(519, 294, 53, 24);
    downX.setCaption("Down");
    upX.move(574, 294, 53, 24);
    upX.setCaption("Up");
    removeX.move(629, 294, 55, 24);
    removeX.setCaption("Remove");
    fadeLeft.move(464, 322, 108, 24);
    fadeLeft.setCaption("<< A");
    fadeRight.move(576, 322, 108, 24);
    fadeRight.setCaption("B >>");
    faderM.move(464, 350, 220, 24);
    faderM.setMin(-100);
    faderM.setMax(100);
    faderM.setSmallChange(1);
    faderM.setLargeChange(10);

    dmx_active.move(692, 8, 120, 20);
    dmx_active.setCaption("Output");
    vovev_active.move(692, 32, 120, 20);
    vovev_active.setCaption("VoVev");
    extmxsim_active.move(692, 56, 120, 20);
    extmxsim_active.setCaption("Network");
    extmxsim_active.setBackColor(platform::rgb(64, 64, 64));
    extmxsim_active.setForeColor(kColorRed);
    Closeall.move(692, 90, 120, 24);
    Closeall.setCaption("Close");

    const float paneTop = 380;
    for (auto [pane, left] :
         {std::pair{&paneA, 8.0f}, std::pair{&paneM, 236.0f}, std::pair{&paneB, 464.0f}}) {
        pane->canvas().setScaleMode(platform::ScaleMode::Pixels);
        pane->move(left, paneTop, kPaneSidePx, kPaneSidePx);
    }
    for (platform::PictureBox* box : {&miniA, &miniB, &imageA, &imageB}) {
        box->setVisible(false);
        box->canvas().setScaleMode(platform::ScaleMode::Pixels);
    }
    imageA.setAutoSize(true);
    imageB.setAutoSize(true);
}

void MatrixForm::wireHandlers() {
    efxAList.onClick = [this] { efxAList_Click(); };
    efxBList.onClick = [this] { efxBList_Click(); };
    efxXList.onClick = [this] { efxXList_Click(); };
    addA.onClick = [this] { addA_Click(); };
    addB.onClick = [this] { addB_Click(); };
    addX.onClick = [this] { addX_Click(); };
    clearA.onClick = [this] { clearA_Click(); };
    clearB.onClick = [this] { clearB_Click(); };
    copyMemA.onClick = [this] { copyMemA_Click(); };
    copyMemB.onClick = [this] { copyMemB_Click(); };
    downA.onClick = [this] { downA_Click(); };
    downB.onClick = [this] { downB_Click(); };
    downX.onClick = [this] { downX_Click(); };
    editA.onClick = [this] { editA_Click(); };
    editB.onClick = [this] { editB_Click(); };
    typeA.onClick = [this] { typeA_Click(); };
    typeB.onClick = [this] { typeB_Click(); };
    upA.onClick = [this] { upA_Click(); };
    upB.onClick = [this] { upB_Click(); };
    upX.onClick = [this] { upX_Click(); };
    removeA.onClick = [this] { removeA_Click(); };
    removeB.onClick = [this] { removeB_Click(); };
    removeX.onClick = [this] { removeX_Click(); };
    pasteMemA.onClick = [this] { pasteMemA_Click(); };
    pasteMemB.onClick = [this] { pasteMemB_Click(); };
    mxsave.onClick = [this] { mxsave_Click(); };
    myload.onClick = [this] { myload_Click(); };
    MFadeColor.onClick = [this] { MFadeColor_Click(); };

    fadeType.onClick = [this] { fadeType_Click(); };
    fadeTimeText.onChange = [this] { fadeTimeText_Change(); };
    fadeName.onChange = [this] { fadeName_Change(); };
    faderM.onChange = [this] { faderM_Change(); };
    fadeLeft.onClick = [this] { fadeLeft_Click(); };
    fadeRight.onClick = [this] { fadeRight_Click(); };
    dmx_active.onClick = [this] { dmx_active_Click(); };
    vovev_active.onClick = [this] { vovev_active_Click(); };
    extmxsim_active.onClick = [this] { extmxsim_active_Click(); };
    Closeall.onClick = [this] { Closeall_Click(); };

    timerA1.onTimer = [this] { timerA1_Timer(); };
    timerA2.onTimer = [this] { timerA2_Timer(); };
    timerB1.onTimer = [this] { timerB1_Timer(); };
    timerB2.onTimer = [this] { timerB2_Timer(); };
    timerM.onTimer = [this] { timerM_Timer(); };
    updateDMXTimer.onTimer = [this] { updateDMXTimer_Timer(); };
    updateVoVevTimer.onTimer = [this] { updateVoVevTimer_Timer(); };
    updateMainTimer.onTimer = [this] { updateMainTimer_Timer(); };
    updateATimer.onTimer = [this] { updateATimer_Timer(); };
    updateBTimer.onTimer = [this] { updateBTimer_Timer(); };
}

void MatrixForm::Form_Load() {
    SharedState& s = kavrel_.state();

    // The timers start stopped; only the fixed-rate ones get their interval now.
    stopAllTimers();
    updateDMXTimer.setInterval(kDmxIntervalMs);
    updateVoVevTimer.setInterval(kSimulatorIntervalMs);
    for (platform::Timer* t : {&updateMainTimer, &updateATimer, &updateBTimer})
        t->setInterval(kPaneIntervalMs);

    // Effects prepare what they need of a loaded window (the ticker's pixel
    // font) before the type boxes are filled.
    for (int type = 0; type < kEffectTypeCount; ++type)
        if (Effect* effect = kavrel_.effects().find(type)) effect->mainWindowLoad();

    fillTypeBoxes();

    s.colorBlack = kColorBlack;
    s.colorWhite = kColorWhite;
    s.colorRed = kColorRed;
    s.colorGreen = kColorGreen;
    s.activeButtonColor = kActiveButtonColor;
    s.buttonColor = kButtonColor;

    sizeGridAndBoxes();
    prepareLists();
    setFadeDefaults();

    s.mixPos = 0.5;
    showFaderPosition();

    // The default entries are red in bank A and blue in bank B.
    for (BankState* b : {&s.bankA, &s.bankB}) {
        const EffectRecord* entry = b->currentEffect();
        fillLights(b->frame, s.gridCols(), s.gridRows(), entry != nullptr ? entry->color1 : 0u);
        b->dirty = true;
    }

    layoutPanes();
    kavrel_.mixMatrix(s.mixPos);
    startTimers();
}

void MatrixForm::Form_Unload(int& cancel) {
    (void)cancel;
    // An unloaded window's timers must not tick into it, and its previews
    // and simulator link end with it.
    stopAllTimers();
    previews_.shutdown();
}

void MatrixForm::stopAllTimers() {
    for (platform::Timer* t : {&timerA1, &timerA2, &timerB1, &timerB2, &timerM, &updateDMXTimer,
                               &updateVoVevTimer, &updateMainTimer, &updateATimer, &updateBTimer})
        t->setEnabled(false);
}

void MatrixForm::startTimers() {
    updateMainTimer.setEnabled(true);
    updateATimer.setEnabled(true);
    updateBTimer.setEnabled(true);
}

void MatrixForm::fillTypeBoxes() {
    for (platform::ComboBox* box : {&typeA, &typeB}) {
        box->Clear();
        for (std::string_view name : kEffectTypeNames) box->AddItem(std::string(name));
    }
    fadeType.Clear();
    for (std::string_view name : kFadeTypeNames) fadeType.AddItem(std::string(name));
}

void MatrixForm::sizeGridAndBoxes() {
    SharedState& s = kavrel_.state();
    if (!kavrel_.gridInForce) {
        s.sizeGrid(kavrel_.options().gridCols, kavrel_.options().gridRows);
        kavrel_.gridInForce = true;
    } else {
        s.sizeGrid(s.matrixCols, s.matrixRows);
    }
    for (platform::PictureBox* box : {&miniA, &miniB, &imageA, &imageB}) box->setVisible(false);
    for (platform::PictureBox* box : {&miniA, &miniB}) {
        box->setWidth(static_cast<float>(s.gridCols()));
        box->setHeight(static_cast<float>(s.gridRows()));
    }
    s.bankA.colIdx = -1;
    s.bankB.colIdx = -1;
}

void MatrixForm::prepareLists() {
    SharedState& s = kavrel_.state();
    for (platform::ListView* list : {&efxAList, &efxBList, &efxXList}) {
        list->Clear();
        if (list->ColumnCount() == 0) {
            list->AddColumn(list == &efxXList ? "Fade" : "Effect", 200);
            list->AddColumn("Index", 0);  // the record index, hidden
        }
    }
    for (BankState* b : {&s.bankA, &s.bankB}) {
        b->effCount = 0;
        b->delCount = 0;
        b->curEff = 0;
    }
    s.fadeCount = 0;
    s.delCountX = 0;
    s.curFade = 0;
    addEntry(bankA_);
    addEntry(bankB_);
    addFade(*this);
    for (platform::ListView* list : {&efxAList, &efxBList, &efxXList}) list->Select(1);
    bankA_.showType(static_cast<int16_t>(EffectType::Color));
    bankB_.showType(static_cast<int16_t>(EffectType::Color));
}

void MatrixForm::setFadeDefaults() {
    SharedState& s = kavrel_.state();
    s.fadeType = static_cast<int16_t>(FadeType::CrossFade);
    s.fadeTime = kDefaultFadeSeconds;
    chooseItem(fadeType, s.fadeType, [this] { fadeType_Click(); });
    showText(fadeTimeText, platform::formatStandard(kDefaultFadeSeconds, desktop().locale()),
             [this] { fadeTimeText_Change(); });
    const FadeRecord* fade = currentFade();
    showText(fadeName, fade ? fade->name : std::string(), [this] { fadeName_Change(); });
}

void MatrixForm::Closeall_Click() {
    stopAllTimers();
    // The output and the preview go off. The Network box stays as it is: the
    // simulator link keeps its connection and only pauses with its timer.
    dmx_active.setValue(0);
    vovev_active.setValue(0);
    kavrel_.editors().hideForCloseall();
    Hide();
}

}  // namespace kavrel
