#include "banks/copy_buffer.h"

#include <cstddef>
#include <vector>

namespace kavrel {

namespace {

// Elements 0 to count - 1 of `from` in an array of count + 1 elements.
template <typename T>
std::vector<T> firstOf(const std::vector<T>& from, int16_t count) {
    const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
    std::vector<T> out(n + 1);
    for (size_t i = 0; i < n && i < from.size(); ++i) out[i] = from[i];
    return out;
}

}  // namespace

EffectRecord copyForPaste(const EffectRecord& e, int cols, int rows) {
    EffectRecord c;
    c.name = e.name;
    c.type = e.type;
    switch (static_cast<EffectType>(e.type)) {
        case EffectType::Color:
            c.color1 = e.color1;
            break;
        case EffectType::Gradient:
            c.color1 = e.color1;
            c.color2 = e.color2;
            c.direction = e.direction;
            break;
        case EffectType::Paint:
            c.pixels.assign(cols, rows, 0u);
            for (int x = 0; x < cols; ++x)
                for (int y = 0; y < rows; ++y) c.pixels.set(x, y, e.pixels.get(x, y, 0u));
            break;
        case EffectType::Image:
            c.stretch = e.stretch;
            c.tile = e.tile;
            c.direction = e.direction;
            c.speed = e.speed;
            c.imageCount = e.imageCount;
            if (e.imageCount >= 1) {
                c.imageNames = firstOf(e.imageNames, e.imageCount);
                c.durations = firstOf(e.durations, e.imageCount);
                c.imagePaths = firstOf(e.imagePaths, e.imageCount);
            }
            c.level = e.level;
            break;
        case EffectType::ColorChange:
            c.color1 = e.color1;
            c.color2 = e.color2;
            c.colorCount = e.colorCount;
            c.colors = firstOf(e.colors, e.colorCount);
            c.durations = firstOf(e.durations, e.colorCount);
            c.beat = e.beat;
            c.speed = e.speed;
            c.level = e.level;
            c.fadeMode = e.fadeMode;
            break;
        case EffectType::ColorScroll:
            c.colorCount = e.colorCount;
            c.colors = firstOf(e.colors, e.colorCount);
            c.colorValues = firstOf(e.colorValues, e.colorCount);
            c.beat = e.beat;
            c.speed = e.speed;
            c.direction = e.direction;
            c.blend = e.blend;
            break;
        case EffectType::Fire:
            c.color1 = e.color1;
            c.color2 = e.color2;
            c.speed = e.speed;
            c.level = e.level;
            break;
        case EffectType::Fluid:
            c.color1 = e.color1;
            c.color2 = e.color2;
            c.speed = e.speed;
            c.level = e.level;
            c.direction = e.direction;
            break;
        case EffectType::Ticker:
            c.color1 = e.color1;
            c.color2 = e.color2;
            c.speed = e.speed;
            c.level = e.level;
            c.text = e.text;
            c.font = e.font;
            c.direction = e.direction;
            c.backward = e.backward;
            c.mirror = e.mirror;
            c.beat = e.beat;
            c.letterMode = e.letterMode;
            break;
        case EffectType::BeamShow:
        default:
            break;  // name and type only
    }
    return c;
}

}  // namespace kavrel
