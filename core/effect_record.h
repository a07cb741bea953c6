#pragma once
// One entry of bank A or B, and one entry of the fade list.
#include <cstdint>
#include <string>
#include <vector>

#include "core/defaults.h"
#include "core/grid2d.h"

namespace kavrel {

// Effect-type codes in list order.
enum class EffectType : int16_t {
    Color = 0,
    Gradient = 1,
    Paint = 2,
    Image = 3,
    ColorChange = 4,
    ColorScroll = 5,
    Fire = 6,
    Fluid = 7,
    Ticker = 8,
    BeamShow = 9,
};

// Fields stay in this order (the record layout of the data model). Colours are 0x00BBGGRR
// and may name a system colour (top bits set). Array fields hold indexes 0 to
// their count, the last element spare; their owners size them.
struct EffectRecord {
    int16_t type = 0;
    std::string name;
    uint32_t color1 = 0;
    uint32_t color2 = 0;
    int16_t direction = 0;
    Grid2D<uint32_t> pixels;  // painted colour per light (x, y)
    int16_t stretch = 0;
    int16_t tile = 0;
    int16_t speed = 0;
    int16_t imageCount = 0;
    std::vector<std::string> imageNames;
    std::vector<double> durations;  // seconds per picture, or per colour of a Color Change
    std::vector<std::string> imagePaths;
    int16_t level = 0;
    int16_t colorCount = 0;
    std::vector<uint32_t> colors;
    int16_t fadeMode = 0;
    int16_t beat = 0;
    int16_t blend = 0;
    std::vector<int32_t> colorValues;  // Color Scroll: widths; BeamShow: beam kinds
    std::string text;
    std::string font;
    int16_t backward = 0;
    int16_t mirror = 0;
    int16_t letterMode = 0;
};

struct FadeRecord {
    int16_t type = 0;  // fade-type code 0..10
    std::string name;
    double time = kDefaultFadeSeconds;  // seconds
    uint32_t color = 0;
};

}  // namespace kavrel
