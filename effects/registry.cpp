#include "effects/registry.h"

#include <memory>

#include "core/effect.h"
#include "effects/beam_show/beam_show_effect.h"
#include "effects/color/color_effect.h"
#include "effects/color_change/color_change_effect.h"
#include "effects/color_scroll/color_scroll_effect.h"
#include "effects/fire/fire_effect.h"
#include "effects/fluid/fluid_effect.h"
#include "effects/gradient/gradient_effect.h"
#include "effects/image/image_effect.h"
#include "effects/paint/paint_effect.h"
#include "effects/ticker/ticker_effect.h"

namespace kavrel {

// One line per effect type; a module that needs the plug-in's services (its
// editor windows, mixing) takes them here.
void registerEffects(EffectRegistry& registry, EffectServices& services) {
    registry.add(EffectType::Color, std::make_unique<ColorEffect>(services));
    registry.add(EffectType::Gradient, std::make_unique<GradientEffect>(services));
    registry.add(EffectType::Paint, std::make_unique<PaintEffect>(services));
    registry.add(EffectType::Image, std::make_unique<ImageEffect>(services));
    registry.add(EffectType::ColorChange, std::make_unique<ColorChangeEffect>(services));
    registry.add(EffectType::ColorScroll, std::make_unique<ColorScrollEffect>(services));
    registry.add(EffectType::Fire, std::make_unique<FireEffect>(services));
    registry.add(EffectType::Fluid, std::make_unique<FluidEffect>(services));
    registry.add(EffectType::Ticker, std::make_unique<TickerEffect>(services));
    registry.add(EffectType::BeamShow, std::make_unique<BeamShowEffect>(services));
}

}  // namespace kavrel
