// The pane repaint writes the pixels that one filled Line per changed light
// writes, under every scale a pane can have, and records what it painted.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/preview_panes.h"
#include "kavrel_session.h"

namespace kavrel::testing {
namespace {

// The repaint as a person would write it: one filled square per changed light.
void paintByLines(platform::PictureBox& pane, const Frame& frame, Frame& shadow, int cols,
                  int rows) {
    const int cell = paneCellSize(pane, cols, rows);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            const platform::Color c = frame.rgb(x, y);
            if (c == shadow.rgb(x, y)) continue;
            const auto left = static_cast<float>(x * cell), top = static_cast<float>(y * cell);
            const auto last = static_cast<float>(cell - 1);
            pane.canvas().Line(left, top, left + last, top + last, c, true, true);
            shadow.setRgb(x, y, static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8),
                          static_cast<uint8_t>(c >> 16));
        }
}

void setScale(platform::Canvas& canvas, int which) {
    switch (which) {
        case 0:
            canvas.setScaleMode(platform::ScaleMode::Pixels);
            break;
        case 1:
            canvas.setScaleMode(platform::ScaleMode::Twips);
            break;
        case 2:  // flipped and stretched: squares land off their cells
            canvas.setUserScale(40, 300, -90, -250);
            break;
        default:
            canvas.setUserScale(-7.5f, 3, 33, 41);
            break;
    }
}

// The repaint pixel by pixel: each changed light sets every pixel between
// the pixel corners of its square that lies inside the pane.
void paintByPixels(platform::PictureBox& pane, const Frame& frame, Frame& shadow, int cols,
                   int rows) {
    const int cell = paneCellSize(pane, cols, rows);
    const platform::Canvas& canvas = pane.canvas();
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            const platform::Color c = frame.rgb(x, y);
            if (c == shadow.rgb(x, y)) continue;
            shadow.setRgb(x, y, frame.at(x, y, 0), frame.at(x, y, 1), frame.at(x, y, 2));
            const auto left = static_cast<float>(x * cell), top = static_cast<float>(y * cell);
            const auto last = static_cast<float>(cell - 1);
            const auto x0 = canvas.pixelX(left), x1 = canvas.pixelX(left + last);
            const auto y0 = canvas.pixelY(top), y1 = canvas.pixelY(top + last);
            if (!x0 || !x1 || !y0 || !y1) continue;
            const platform::Surface& surface = pane.surface();
            const int64_t pxLast = std::min<int64_t>(std::max(*x0, *x1), surface.width() - 1);
            const int64_t pyLast = std::min<int64_t>(std::max(*y0, *y1), surface.height() - 1);
            for (int64_t py = std::max<int64_t>(std::min(*y0, *y1), 0); py <= pyLast; ++py)
                for (int64_t px = std::max<int64_t>(std::min(*x0, *x1), 0); px <= pxLast; ++px)
                    pane.surface().put(px, py, c);
        }
}

TEST(PaneRepaint, MatchesOneFilledLinePerChangedLightUnderEveryScale) {
    KavrelSession s;
    MatrixForm& f = s.form();
    s.wait(50);
    std::mt19937 gen(5);
    for (const auto& [cols, rows] : {std::pair{12, 12}, std::pair{50, 50}, std::pair{7, 3}})
        for (int scale = 0; scale < 4; ++scale) {
            SCOPED_TRACE(::testing::Message() << cols << "x" << rows << " scale " << scale);
            Frame frame(cols, rows), shadowFast(cols, rows);
            for (int y = 0; y < rows; ++y)
                for (int x = 0; x < cols; ++x) {
                    frame.setRgb(x, y, static_cast<uint8_t>(gen()), static_cast<uint8_t>(gen()),
                                 static_cast<uint8_t>(gen()));
                    if (gen() % 3 == 0)  // already shown: must not be painted
                        shadowFast.setRgb(x, y, frame.at(x, y, 0), frame.at(x, y, 1),
                                          frame.at(x, y, 2));
                }
            Frame shadowLines = shadowFast;
            f.paneA.setBackColor(platform::rgb(9, 9, 9));
            f.paneB.setBackColor(platform::rgb(9, 9, 9));
            setScale(f.paneA.canvas(), scale);
            setScale(f.paneB.canvas(), scale);

            bool dirty = true;
            redrawPane(f.paneA, frame, shadowFast, dirty, cols, rows);
            paintByLines(f.paneB, frame, shadowLines, cols, rows);
            EXPECT_FALSE(dirty);
            EXPECT_EQ(shadowFast, shadowLines);
            ASSERT_EQ(f.paneA.surface().pixels(), f.paneB.surface().pixels());

            // Without the flag nothing is painted.
            frame.setRgb(0, 0, 1, 2, 3);
            redrawPane(f.paneA, frame, shadowFast, dirty, cols, rows);
            EXPECT_EQ(f.paneA.surface().pixels(), f.paneB.surface().pixels());
        }
    f.paneA.canvas().setScaleMode(platform::ScaleMode::Pixels);
    f.paneB.canvas().setScaleMode(platform::ScaleMode::Pixels);
}

// Random shows on random grids, pane sizes and scales: frame after frame,
// some lights or all of them changing, the repaint leaves the pane's pixels
// and the shadow exactly as painting pixel by pixel does.
TEST(PaneRepaint, RandomShowsMatchPixelByPixelPainting) {
    KavrelSession s;
    MatrixForm& f = s.form();
    s.wait(50);
    std::mt19937 gen(20);
    const auto below = [&gen](int n) { return static_cast<int>(gen() % static_cast<unsigned>(n)); };
    for (int show = 0; show < 25; ++show) {
        const int cols = 1 + below(50), rows = 1 + below(50), scale = below(4);
        const auto width = static_cast<float>(15 * (1 + below(300)));
        const auto height = static_cast<float>(15 * (1 + below(300)));
        SCOPED_TRACE(::testing::Message()
                     << "show " << show << ": " << cols << "x" << rows << " on " << width << "x"
                     << height << " scale " << scale);
        Frame frame(cols, rows), shadowFast(cols, rows), shadowPixels(cols, rows);
        for (platform::PictureBox* pane : {&f.paneA, &f.paneB}) {
            pane->setWidth(width);
            pane->setHeight(height);
            pane->setBackColor(platform::rgb(9, 9, 9));
            setScale(pane->canvas(), scale);
        }
        for (int step = 0; step < 8; ++step) {
            // From a few lights to every light, in few colours so that some
            // changes bring back what the pane shows.
            const int share = below(4) == 0 ? 1 : 1 + below(8);
            for (int y = 0; y < rows; ++y)
                for (int x = 0; x < cols; ++x)
                    if (below(share) == 0)
                        frame.setRgb(x, y, static_cast<uint8_t>(below(3) * 120),
                                     static_cast<uint8_t>(gen()), static_cast<uint8_t>(below(2)));
            bool dirty = true;
            redrawPane(f.paneA, frame, shadowFast, dirty, cols, rows);
            paintByPixels(f.paneB, frame, shadowPixels, cols, rows);
            ASSERT_EQ(shadowFast, shadowPixels) << "step " << step;
            ASSERT_EQ(f.paneA.surface().pixels(), f.paneB.surface().pixels()) << "step " << step;
        }
    }
    f.paneA.canvas().setScaleMode(platform::ScaleMode::Pixels);
    f.paneB.canvas().setScaleMode(platform::ScaleMode::Pixels);
}

}  // namespace
}  // namespace kavrel::testing
