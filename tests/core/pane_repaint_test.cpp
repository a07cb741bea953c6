// The pane repaint writes the pixels that one filled Line per changed light
// writes, under every scale a pane can have, and records what it painted.
#include <gtest/gtest.h>

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

TEST(PaneRepaint, MatchesOneFilledLinePerChangedLightUnderEveryScale) {
    KavrelSession s;
    MatrixForm& f = s.form();
    s.wait(50);
    std::mt19937 gen(5);
    const auto setScale = [](platform::Canvas& canvas, int which) {
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
    };
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

}  // namespace
}  // namespace kavrel::testing
