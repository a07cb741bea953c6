#include "effects/image/image_view.h"

#include "core/bank_context.h"
#include "core/colors.h"
#include "effects/image/image_geometry.h"
#include "platform/drawing/gdi.h"

namespace kavrel {

namespace {

using platform::Hdc;

// The bank's picture, or null while its box holds none (black is drawn then).
const platform::Surface* picture(BankContext& bank) {
    const platform::Surface& s = bank.image().surface();
    if (!bank.image().hasPicture() || s.width() <= 0 || s.height() <= 0) return nullptr;
    return &s;
}

// A Windows-font ticker may have left the shared sampling box at its text's
// size: the image works on exactly one pixel per light.
void fitSamplingBox(BankContext& bank) {
    platform::PictureBox& mini = bank.mini();
    const float upp = mini.parent().unitsPerPixel();
    if (mini.surface().width() != bank.cols()) mini.setWidth(static_cast<float>(bank.cols()) * upp);
    if (mini.surface().height() != bank.rows())
        mini.setHeight(static_cast<float>(bank.rows()) * upp);
}

ScrollGeometry geometryOf(BankContext& bank, const EffectRecord& e) {
    ScrollGeometry g;
    if (const platform::Surface* pic = picture(bank)) {
        g.W = pic->width();
        g.H = pic->height();
    }
    g.w = bank.mini().surface().width();
    g.h = bank.mini().surface().height();
    g.level = e.level;
    g.direction = e.direction;
    return g;
}

void clearBox(BankContext& bank) {
    const Hdc mini = bank.mini().hDC();
    platform::BitBlt(mini, 0, 0, bank.cols(), bank.rows(), mini, 0, 0, platform::BLACKNESS);
}

void drawStretched(BankContext& bank) {
    const Hdc mini = bank.mini().hDC();
    if (const platform::Surface* pic = picture(bank)) {
        platform::StretchBlt(mini, 0, 0, bank.cols(), bank.rows(), bank.image().hDC(), 0, 0,
                             pic->width(), pic->height(), platform::SRCCOPY);
    } else {
        clearBox(bank);
    }
}

// Repeats the picture along the axes where it is smaller than the matrix and
// resets their scroll coordinate; box (x, y) shows picture (x mod W) or
// (x + posX), and likewise down, black outside the picture.
void drawTiled(BankContext& bank, const platform::Surface& pic, bool across, bool down) {
    BankState& s = bank.state();
    if (across) s.posX = 0;
    if (down) s.posY = 0;
    platform::Surface& box = bank.mini().surface();
    const int32_t W = pic.width(), H = pic.height();
    for (int32_t y = 0; y < bank.rows(); ++y) {
        const int32_t py = down ? y % H : y + s.posY;
        if (py < 0 || py >= H) continue;
        for (int32_t x = 0; x < bank.cols(); ++x) {
            const int32_t px = across ? x % W : x + s.posX;
            if (px >= 0 && px < W) box.put(x, y, pic.at(px, py));
        }
    }
}

void fillBlack(BankContext& bank) {
    const Hdc mini = bank.mini().hDC();
    const uint32_t black = bank.shared().colorBlack;
    for (int x = 0; x < bank.cols(); ++x)
        for (int y = 0; y < bank.rows(); ++y) platform::SetPixel(mini, x, y, black);
}

}  // namespace

void sampleMini(BankContext& bank) {
    BankState& s = bank.state();
    const platform::Surface& box = bank.mini().surface();
    for (int x = 0; x < bank.cols(); ++x) {
        for (int y = 0; y < bank.rows(); ++y) {
            const uint32_t c = box.contains(x, y) ? box.at(x, y) : platform::CLR_INVALID;
            s.frame.setRgb(x, y, getColorPart(c, kRedMask), getColorPart(c, kGreenMask),
                           getColorPart(c, kBlueMask));
        }
    }
    bank.showFrame();
}

void drawBlack(BankContext& bank) {
    fitSamplingBox(bank);
    fillBlack(bank);
    sampleMini(bank);
}

void drawImage(BankContext& bank) {
    fitSamplingBox(bank);
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    if (e->imageCount <= 0) {
        bank.showMessage(kNoPictures);
        drawBlack(bank);
        return;
    }
    if (e->stretch == 1) {
        drawStretched(bank);
        bank.stepTimer().setEnabled(false);
        sampleMini(bank);
        return;
    }
    clearBox(bank);
    if (const platform::Surface* pic = picture(bank)) {
        const bool across = e->tile == 1 && pic->width() < bank.cols();
        const bool down = e->tile == 1 && pic->height() < bank.rows();
        if (across || down) {
            drawTiled(bank, *pic, across, down);
        } else {
            const BankState& s = bank.state();
            platform::BitBlt(bank.mini().hDC(), 0, 0, bank.cols(), bank.rows(), bank.image().hDC(),
                             s.posX, s.posY, platform::SRCCOPY);
        }
    }
    if (e->beat == 0 && e->direction >= 1 && e->direction <= 8 && e->speed >= 1) {
        bank.stepTimer().setInterval(imageStepInterval(e->speed));
        bank.stepTimer().setEnabled(true);
    }
    sampleMini(bank);
}

void startImageScroll(BankContext& bank) {
    fitSamplingBox(bank);
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    BankState& s = bank.state();
    const ScrollGeometry g = geometryOf(bank, *e);
    s.stripLen = toPos16(travelExtent(g));
    ViewPos pos{s.posX, s.posY};
    if (startView(g, pos)) {
        s.posX = toPos16(pos.x);
        s.posY = toPos16(pos.y);
    }
}

void scrollImage(BankContext& bank) {
    fitSamplingBox(bank);
    const EffectRecord* e = bank.entry();
    if (e == nullptr) return;
    if (e->imageCount <= 0) {
        fillBlack(bank);
        sampleMini(bank);
        return;
    }
    if (e->stretch == 1) {
        drawStretched(bank);
        sampleMini(bank);
        return;
    }
    BankState& s = bank.state();
    const ScrollGeometry g = geometryOf(bank, *e);
    ViewPos pos{s.posX, s.posY};
    stepView(g, s.stripLen, pos);
    s.posX = toPos16(pos.x);
    s.posY = toPos16(pos.y);

    const int32_t w = g.w, h = g.h;
    int32_t bw = w, sw = 0, bh = h, sh = 0;
    if (s.posX + w > g.W) {
        bw = g.W - s.posX;
        sw = w - bw;
    }
    if (s.posY + h > g.H) {
        bh = g.H - s.posY;
        sh = h - bh;
    }
    clearBox(bank);
    const Hdc mini = bank.mini().hDC();
    const Hdc image = bank.image().hDC();
    if (picture(bank) != nullptr) {
        // A block of no width or height copies nothing.
        const auto copy = [&](int32_t xd, int32_t yd, int32_t cw, int32_t ch, int32_t xs,
                              int32_t ys) {
            if (cw > 0 && ch > 0)
                platform::BitBlt(mini, xd, yd, cw, ch, image, xs, ys, platform::SRCCOPY);
        };
        copy(0, 0, bw, bh, s.posX, s.posY);
        if ((g.direction == 1 || g.direction == 5) && sh > 0) copy(0, bh, bw, sh, s.posX, 0);
        if ((g.direction == 3 || g.direction == 7) && sw > 0) copy(bw, 0, sw, bh, 0, s.posY);
    }
    sampleMini(bank);
}

}  // namespace kavrel
