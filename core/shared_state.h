#pragma once
// The state of one plug-in instance: both banks, the fade list, the grid and
// its channel map, the output frame and the preview settings. Fresh instances
// hold the 12 x 12 default grid with every per-light array sized and no
// entries; the main window's load handler sets up the rest.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/defaults.h"
#include "core/dmx_table.h"
#include "core/effect_record.h"
#include "core/frame.h"
#include "core/grid2d.h"
#include "core/watched_grid.h"
#include "platform/drawing/surface.h"

namespace kavrel {

// Everything one bank owns; bank A and bank B are twins.
struct BankState {
    explicit BankState(char bankLetter) : letter(bankLetter) {}

    char letter;  // 'A' or 'B'

    Frame frame;
    Frame shadow;  // colours the bank's preview pane last painted
    bool dirty = false;

    std::vector<EffectRecord> eff;
    std::vector<bool> effOk;  // beside eff: confirmed in its editor
    int16_t effCount = 0;
    int16_t delCount = 0;
    int16_t curEff = 0;
    bool beat = false;
    int16_t imageIdx = 0;

    // Scratch shared by the bank's effect types (one entry runs at a time).
    int16_t step = 0;
    int16_t stepMax = 0;
    int16_t colIdx = -1;
    int16_t pendingFade = 0;
    bool colorFadeRunning = false;
    double colorFadeRatio = 0.0;
    std::vector<int32_t> pixelOrder;
    Grid2D<bool> freeCell;
    std::vector<uint8_t> strip;
    int16_t stripLen = 0;
    std::array<int16_t, 5> laserPos{};
    std::array<int16_t, 5> laserDir{};
    int16_t posX = 0;
    int16_t posY = 0;
    Grid2D<uint32_t> tickerBuf;
    int32_t tickerWidth = 0;

    // Parts of the ticker font descriptor.
    std::string fontName;
    int16_t fontSize = 0;
    int16_t fontItalic = 0;
    int16_t fontBold = 0;
    int16_t fontWeight = 0;
    int16_t fontStrike = 0;

    // The running entry, or null while curEff is no valid index.
    EffectRecord* currentEffect();
    const EffectRecord* currentEffect() const;
};

// Red, green and blue address of one light.
using LightChannels = std::array<int32_t, 3>;

struct SharedState {
    static constexpr int kMinGrid = 1;
    static constexpr int kMaxGrid = 50;
    static constexpr int kDmxAddresses = DmxChannelTable::kAddresses;

    SharedState();

    BankState bankA{'A'};
    BankState bankB{'B'};
    BankState& bank(bool b) { return b ? bankB : bankA; }
    const BankState& bank(bool b) const { return b ? bankB : bankA; }

    std::vector<FadeRecord> fadeList;
    int16_t fadeCount = 0;
    int16_t delCountX = 0;
    int16_t curFade = 0;
    EffectRecord copyBuffer;
    int16_t editBankB = 0;

    int16_t matrixCols = 12;
    int16_t matrixRows = 12;
    // The grid size cut to 0..kMaxGrid, for loops over the lights.
    int gridCols() const;
    int gridRows() const;

    Frame frameM;
    Frame dxSimDrawn;  // what the plain preview last drew
    Frame extSimSent;  // what the simulator link last sent
    Frame shadowM;     // what the mix pane last drew
    bool dirtyDmx = false;
    bool dirtySim = false;
    bool dirtyM = false;

    double mixPos = 0.5;
    Grid2D<float> mixMap;  // per light: 0 shows bank A, 1 bank B
    int16_t fadeType = 0;
    double fadeTime = kDefaultFadeSeconds;

    // Random fade: each light's rank (index y * cols + x) in the switching
    // order, drawn again while stale; lastMixType is the type of the last mix.
    std::vector<int32_t> randomRank;
    bool randomRankStale = true;
    int16_t lastMixType = -1;

    WatchedGrid<LightChannels> channelMap;  // absolute DMX addresses
    WatchedGrid<bool> cellConfigured;
    std::array<int32_t, kDmxAddresses + 1> dmxSent{};  // by address 1..1024; -1 none yet
    DmxChannelTable dmxTable;  // built from the two grids above when they change

    int16_t simMode = 0;
    bool simActive = false;
    bool simFullView = false;
    bool simShowFrame = false;
    bool directDrawReady = false;
    uint32_t simFrameColor = 0;
    int16_t simCellWidth = 0;
    int16_t simCellHeight = 0;
    int16_t simOffsetX = 0;
    int16_t simOffsetY = 0;
    bool extSimConnected = false;

    uint32_t colorBlack = kColorBlack;
    uint32_t colorWhite = kColorWhite;
    uint32_t colorRed = kColorRed;
    uint32_t colorGreen = kColorGreen;
    uint32_t activeButtonColor = kActiveButtonColor;
    uint32_t buttonColor = kButtonColor;
    uint32_t mixerOldColor = 0;
    uint32_t mixerColor = 0;

    // Sets the grid (each side cut to 1..50) and sizes every per-light array:
    // frames, shadows and preview copies zeroed, the mask zeroed, every light
    // configured with the default channel map, and each record's painted
    // pixels grown to the grid keeping what they hold. Records, counts and
    // indexes stay as they are.
    void sizeGrid(int cols, int rows);
};

}  // namespace kavrel
