// The clicks the notes name for a window that is not shown do show it.
#include "cli/window_hints.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "platform/windows/window.h"
#include "tests/core/kavrel_session.h"

namespace {

using kavrel::testing::KavrelSession;

// What a row's `when` asks for, done by the test.
const std::map<std::string, std::function<bool(platform::UserDriver&)>> kSetUp = {
    {"MxColorMixer", [](auto& d) { return d.set("MatrixForm.fadeType", "ColorFade"); }},
    {"VoVevForm", [](auto& d) { return d.click("MxDxSimConf.DDMode(0)"); }},
    {"MxDxSimForm", [](auto& d) { return d.click("MxDxSimConf.DDMode(1)"); }},
};

const kavrel::WindowShow* showOf(const std::string& window) {
    for (const kavrel::WindowShow& s : kavrel::kWindowShows)
        if (s.window == window) return &s;
    return nullptr;
}

// Shows `show.window` by its click (the click's own window first, the same
// way); true when it is then shown. A modal window is seen while it waits,
// then hidden.
bool showBy(KavrelSession& s, const kavrel::WindowShow& show, const std::string& click) {
    const std::string clickWindow = click.substr(0, click.find('.'));
    if (const kavrel::WindowShow* first = showOf(clickWindow))
        if (!showBy(s, *first, std::string(first->click))) return false;
    const char bank = click.back();
    if (!show.entryType.empty() &&
        !s.driver.set(std::string("MatrixForm.type") + bank, std::string(show.entryType)))
        return false;
    if (const auto setUp = kSetUp.find(std::string(show.window)); setUp != kSetUp.end())
        if (!setUp->second(s.driver)) return false;
    platform::Desktop& d = s.plugin().desktop();
    bool shownWhileWaiting = false;
    d.queueAction([&] {
        platform::Window* w = d.peekWindow(std::string(show.window));
        shownWhileWaiting = w != nullptr && w->Visible();
        if (w != nullptr) w->Hide();
    });
    if (!s.driver.click(click)) return false;
    const platform::Window* w = d.peekWindow(std::string(show.window));
    return shownWhileWaiting || (w != nullptr && w->Visible());
}

}  // namespace

TEST(WindowHints, EachClickNamedShowsItsWindow) {
    for (const kavrel::WindowShow& show : kavrel::kWindowShows) {
        for (const std::string_view click : {show.click, show.otherClick}) {
            if (click.empty()) continue;
            KavrelSession s;
            EXPECT_TRUE(showBy(s, show, std::string(click))) << show.window << " by " << click;
        }
    }
    EXPECT_EQ(kavrel::howToShow("MxImageForm"),
              "click MatrixForm.editA or MatrixForm.editB while that bank runs an Image entry");
    EXPECT_EQ(kavrel::howToShow("MsgForm"), "");
}
