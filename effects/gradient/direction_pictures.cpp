#include "effects/gradient/direction_pictures.h"

#include <array>
#include <memory>

namespace kavrel {

namespace {

constexpr int kSize = 16;
constexpr platform::Color kInk = platform::rgb(0, 0, 0);
constexpr platform::Color kGrey = platform::rgb(192, 192, 192);
constexpr platform::Color kYellow = platform::rgb(255, 255, 192);

struct Step {
    int dx, dy;
};
// Directions 1..8 as steps on the picture.
constexpr std::array<Step, 9> kSteps{
    {{0, 0}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}, {0, 1}, {1, 1}, {1, 0}, {1, -1}}};

// A shaft of `length` from (x, y) along s, with a 3-pixel head at its end.
void arrow(platform::Surface& p, int x, int y, Step s, int length) {
    for (int i = 0; i <= length; ++i) p.put(x + s.dx * i, y + s.dy * i, kInk);
    const int hx = x + s.dx * length;
    const int hy = y + s.dy * length;
    // The head: the two pixels beside the tip, turned back by 135 degrees.
    p.put(hx - s.dx + s.dy, hy - s.dy - s.dx, kInk);
    p.put(hx - s.dx - s.dy, hy - s.dy + s.dx, kInk);
}

platform::Surface symbol(int index, platform::Color ground) {
    platform::Surface p(kSize, kSize, ground);
    const int c = kSize / 2;
    if (index == 0) {
        for (int i = 5; i <= 10; ++i) {
            p.put(i, 5, kInk);
            p.put(i, 10, kInk);
            p.put(5, i, kInk);
            p.put(10, i, kInk);
        }
    } else if (index >= 1 && index <= 8) {
        const Step s = kSteps[static_cast<size_t>(index)];
        arrow(p, c - s.dx * 5, c - s.dy * 5, s, 10);
    } else {
        for (int d : {2, 4, 6, 8}) {
            const Step s = kSteps[static_cast<size_t>(d)];
            if (index == 9) {
                arrow(p, c + s.dx, c + s.dy, s, 5);
            } else {
                arrow(p, c + s.dx * 6, c + s.dy * 6, {-s.dx, -s.dy}, 4);
            }
        }
    }
    return p;
}

}  // namespace

DirectionPictures directionPictures(int index) {
    DirectionPictures pics;
    pics.normal = std::make_shared<const platform::Surface>(symbol(index, kGrey));
    pics.disabled = std::make_shared<const platform::Surface>(*pics.normal);
    if (index != 0) pics.down = std::make_shared<const platform::Surface>(symbol(index, kYellow));
    return pics;
}

}  // namespace kavrel
