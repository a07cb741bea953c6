// What the copy buffer keeps of an entry, by type.
#include <gtest/gtest.h>

#include "banks/copy_buffer.h"
#include "core/kavrel.h"
#include "effects/registry.h"

namespace kavrel {
namespace {

// The copy of an entry as the plug-in's own effect types make it.
EffectRecord copied(const EffectRecord& e, int cols, int rows) {
    Kavrel k{InstanceOptions{}};
    registerEffects(k.effects(), k);
    return copyForPaste(k.effects(), e, cols, rows);
}

EffectRecord full(EffectType type) {
    EffectRecord e;
    e.type = static_cast<int16_t>(type);
    e.name = "entry";
    e.color1 = 11;
    e.color2 = 22;
    e.direction = 5;
    e.speed = 60;
    e.level = 40;
    e.beat = 1;
    e.blend = 1;
    e.fadeMode = 3;
    e.colorCount = 2;
    e.colors = {100, 200, 300, 400};
    e.durations = {1.5, 2.5, 3.5};
    e.colorValues = {7, 8, 9};
    e.text = "hello";
    e.font = "5-point";
    return e;
}

TEST(CopyBuffer, ColorChangeArraysAreCutToTheirCountPlusSpare) {
    const EffectRecord c = copied(full(EffectType::ColorChange), 12, 12);
    EXPECT_EQ(c.colors, (std::vector<uint32_t>{100, 200, 0}));
    EXPECT_EQ(c.durations, (std::vector<double>{1.5, 2.5, 0.0}));
    EXPECT_EQ(c.colorCount, 2);
    EXPECT_EQ(c.fadeMode, 3);
    EXPECT_EQ(c.beat, 1);
    EXPECT_TRUE(c.colorValues.empty());
    EXPECT_TRUE(c.text.empty());
}

TEST(CopyBuffer, ShortArraysAndNegativeCountsAreSafe) {
    EffectRecord e = full(EffectType::ColorScroll);
    e.colorCount = 5;  // more than the arrays hold
    EffectRecord c = copied(e, 12, 12);
    EXPECT_EQ(c.colors, (std::vector<uint32_t>{100, 200, 300, 400, 0, 0}));
    EXPECT_EQ(c.colorValues, (std::vector<int32_t>{7, 8, 9, 0, 0, 0}));
    EXPECT_EQ(c.blend, 1);
    e.colorCount = -4;
    c = copied(e, 12, 12);
    EXPECT_EQ(c.colors.size(), 1u);
}

TEST(CopyBuffer, TypesTakeOnlyTheirOwnFields) {
    const EffectRecord fluid = copied(full(EffectType::Fluid), 12, 12);
    EXPECT_EQ(fluid.beat, 0);
    EXPECT_EQ(fluid.direction, 5);
    EXPECT_EQ(fluid.level, 40);
    const EffectRecord beams = copied(full(EffectType::BeamShow), 12, 12);
    EXPECT_EQ(beams.name, "entry");
    EXPECT_EQ(beams.type, 9);
    // A BeamShow keeps its beams: four colours of its own, kinds 7, 8, 9 and
    // the missing fourth and fifth elements grown with the defaults.
    EXPECT_EQ(beams.color1, 11u);
    EXPECT_EQ(beams.speed, 60);
    EXPECT_EQ(beams.level, 40);
    EXPECT_EQ(beams.beat, 1);
    EXPECT_EQ(beams.colors, (std::vector<uint32_t>{100, 200, 300, 400, 0}));
    EXPECT_EQ(beams.colorValues, (std::vector<int32_t>{7, 8, 9, -1, 0}));
    EXPECT_EQ(beams.direction, 0);
    EffectRecord image = full(EffectType::Image);
    image.imageCount = 0;
    image.imageNames = {"a"};
    const EffectRecord noPictures = copied(image, 12, 12);
    EXPECT_TRUE(noPictures.imageNames.empty());
    EXPECT_EQ(noPictures.level, 40);
}

TEST(CopyBuffer, PaintPictureAtTheGridSizeOfTheMoment) {
    EffectRecord e = full(EffectType::Paint);
    e.pixels.assign(2, 2, 5u);  // bounds 0..2
    const EffectRecord c = copied(e, 4, 2);
    EXPECT_EQ(c.pixels.cols(), 4);
    EXPECT_EQ(c.pixels.rows(), 2);
    EXPECT_EQ(c.pixels.get(2, 1, 99u), 5u);
    EXPECT_EQ(c.pixels.get(3, 1, 99u), 0u);  // beyond the old picture: black
    EXPECT_EQ(c.color1, 0u);
}

}  // namespace
}  // namespace kavrel
