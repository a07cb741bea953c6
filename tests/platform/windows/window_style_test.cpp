// The window style functions on the stand-in windows.
#include <gtest/gtest.h>

#include "platform/windows/desktop.h"
#include "platform/windows/window.h"
#include "platform/windows/window_style.h"

namespace platform {
namespace {

TEST(WindowStyleTest, StyleWordReadsWritesAndTheFrameFollowsOnlyWhenApplied) {
    Desktop desktop;
    Window w(desktop, "W");
    w.Show();
    const int32_t style = GetWindowLongA(&w, GWL_STYLE);
    EXPECT_EQ(static_cast<uint32_t>(style), WS_DEFAULT);
    const int32_t clientHeight = w.clientPixelHeight();

    const int32_t without = style & ~static_cast<int32_t>(WS_CAPTION);
    EXPECT_EQ(SetWindowLongA(&w, GWL_STYLE, without), style) << "gives the previous style";
    EXPECT_EQ(GetWindowLongA(&w, GWL_STYLE), without);
    EXPECT_EQ(w.clientPixelHeight(), clientHeight) << "not applied before the frame changes";
    SetWindowPos(&w, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(w.clientPixelHeight(), clientHeight);
    EXPECT_NE(SetWindowPos(&w, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_FRAMECHANGED), 0);
    EXPECT_GT(w.clientPixelHeight(), clientHeight) << "the caption's height joins the client";

    EXPECT_EQ(GetWindowLongA(nullptr, GWL_STYLE), 0);
    EXPECT_EQ(GetWindowLongA(&w, -20), 0);
    EXPECT_EQ(SetWindowLongA(&w, -20, 5), 0);
    EXPECT_EQ(GetWindowLongA(&w, GWL_STYLE), without) << "another index writes nothing";
    EXPECT_EQ(SetWindowPos(nullptr, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED), 0);
}

}  // namespace
}  // namespace platform
